#pragma once
// Every message box of the program goes through here, so tests can watch them
// instead of blocking on a modal dialog.

#include <QString>
#include <functional>

namespace kelmora {

enum class NoticeKind {
    Information,  // a notice to the user: one OK button
    Error,        // the error display: stop icon, one OK button
};

// Receives every notice instead of a message box when set (tests).
using NoticeSink = std::function<void(NoticeKind kind, const QString& text)>;
void setNoticeSink(NoticeSink sink);

// A modal message box centred on the screen, titled with the application's
// title, with a single OK button. Returns when it is dismissed.
void showNotice(const QString& text);

// The error display: the error's text with a "." appended when it does not end
// in one, a stop icon, OK, the application's title.
void showErrorDisplay(const QString& text);

}  // namespace kelmora
