#pragma once
// What the password dialog says and how it decides. The comparison is exact:
// case-sensitive, nothing trimmed. No rule applies to a new password beyond
// typing it the same way twice, so an empty password is allowed.

#include <QString>
#include <optional>

namespace password {

// The two-line prompts of the password dialog (each line starts with U+3000).
QString entryPrompt();
QString changePrompt();
// Shown for a wrong password and for a new password typed differently twice.
QString refusalMessage();

bool accepts(const QString &typed, const QString &stored);

// The password to keep after a change, or nothing when the change is refused
// (wrong current password, or the two new entries differ).
std::optional<QString> changed(const QString &stored, const QString &current, const QString &fresh,
                               const QString &again);

} // namespace password
