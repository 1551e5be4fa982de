// The program settings of a window that is a Qt widget, such as a Qt program's main window.
#pragma once

#include <QWidget>

#include "platform/ui/program_settings.h"

// The widget's top-level window gets the placement saved last; false when none was saved.
bool RestoreWindowPlacement(const CProgramSettings& settings, QWidget& widget);
void SaveWindowPlacement(const CProgramSettings& settings, const QWidget& widget);
