// The dialog service of a desktop session: Qt's message box, file, colour and About dialogs.
#pragma once

#include <memory>

#include "platform/dialogs/dialog_service.h"

std::unique_ptr<IDialogService> CreateQtDialogService();
