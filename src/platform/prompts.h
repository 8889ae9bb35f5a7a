#pragma once
// Message boxes and the one-line input box. Every window asks through this
// interface, so tests can answer the questions and read the exact texts.
// Message boxes carry the application title "キネモ".

#include <QString>
#include <optional>

class Prompts
{
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompts() = default;

    virtual Answer message(const QString &text, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None) = 0;

    // A one-line input box; an empty optional means the user cancelled.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &defaultText = QString()) = 0;
};
