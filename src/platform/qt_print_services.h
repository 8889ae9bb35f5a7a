#pragma once
// The real printer (Qt Print Support) and the desktop's browser.

#include <memory>

class Printer;
class Browser;

std::shared_ptr<Printer> makeQtPrinter();
std::shared_ptr<Browser> makeQtBrowser();
