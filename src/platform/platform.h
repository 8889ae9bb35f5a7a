#pragma once
// The outside world as the windows see it. The program installs the real Qt
// services at start; tests install recording doubles.

#include <functional>
#include <memory>

class FrameSource;
class Prompts;
class FileDialogs;
class Beeper;
class WindowCapture;
class Printer;
class Browser;
class Clipboard;

struct Platform
{
    std::shared_ptr<Prompts> prompts;
    std::shared_ptr<FileDialogs> fileDialogs;
    std::shared_ptr<Beeper> beeper;
    std::shared_ptr<WindowCapture> windowCapture;
    std::shared_ptr<Printer> printer;
    std::shared_ptr<Browser> browser;
    std::shared_ptr<Clipboard> clipboard;
    // Makes the frame source of each video opened; when empty, the FFmpeg one.
    std::function<std::unique_ptr<FrameSource>()> frameSources;
};

Platform &platform();
void installPlatform(Platform services);
