#pragma once

#include "platform/platform.h"

// The real services: Qt dialogs, the system beep, QWidget::grab.
Platform makeQtPlatform();
