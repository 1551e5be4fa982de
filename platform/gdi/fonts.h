// Font set-up: the project's fontconfig file, which maps the classic face names to the
// Liberation fonts, and conversion of LOGFONT values to real fonts.
#pragma once

// Points fontconfig at the project's font file, keeping the system configuration it includes.
// Must run before the application object is created; an already set FONTCONFIG_FILE wins.
void PrepareFontConfiguration();
