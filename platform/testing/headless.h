// Start-up for tests and headless runs: one application object on Qt's offscreen platform.
#pragma once

// Creates the application object once (offscreen unless QT_QPA_PLATFORM says otherwise) and
// points fontconfig at the project's font file. Safe to call many times.
void EnsureHeadlessApplication();
