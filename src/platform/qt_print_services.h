#pragma once
// The real printer (Qt Print Support) and the desktop's browser.

#include "platform/printer.h"

#include <memory>

class Browser;

std::shared_ptr<Printer> makeQtPrinter(PageDrawing page);
std::shared_ptr<Browser> makeQtBrowser();
