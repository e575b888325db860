#pragma once
// The application object: takes the title "Kelmora" (the caption of every
// message box) and shows any error that escapes an event handler through the
// error display, after which the program goes on.

#include <QApplication>

namespace kelmora {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kelmora
