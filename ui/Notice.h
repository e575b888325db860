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

// A modal message box centred on the window the user looks at (on the screen
// when none is shown), titled with the application's title, with a single OK
// button. Returns when it is dismissed.
void showNotice(const QString& text);

// The error display: the error's text with a "." appended when it does not end
// in one, a stop icon, OK, the application's title.
void showErrorDisplay(const QString& text);

// Answers every question instead of a message box when set (tests): gets the
// question's text, returns true for "はい".
using QuestionSink = std::function<bool(const QString& text)>;
void setQuestionSink(QuestionSink sink);

// A modal question with "はい" and "いいえ", centred like a notice. The default
// button is "いいえ" unless yesIsDefault. True when the user chose "はい".
bool askQuestion(const QString& text, bool yesIsDefault = false);

}  // namespace kelmora
