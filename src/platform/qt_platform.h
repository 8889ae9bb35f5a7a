#pragma once

#include "platform/platform.h"

struct PageDrawing;

// The real services: Qt dialogs, the system beep, QWidget::grab, the printer
// drawing its pages with `page`, the desktop's clipboard.
Platform makeQtPlatform(PageDrawing page);
