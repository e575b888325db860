#pragma once
// A main window on a temporary program folder, with every notice and beep
// recorded instead of shown.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/Beep.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"
#include "ui/SessionTexts.h"

namespace kelmora::test {

struct RecordedNotice {
    NoticeKind kind;
    QString text;
};

class CountingBeep : public platform::BeepSink {
public:
    void beep() override { ++count; }
    int count = 0;
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setNoticeSink([this](NoticeKind kind, const QString& text) { notices.push_back({kind, text}); });
        // Questions are recorded and answered from answers, front first; "いいえ" once it is empty.
        setQuestionSink([this](const QString& text) {
            questions.push_back(text);
            if (answers.empty()) return false;
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        });
        platform::setBeepSink(&beeps);
    }
    void TearDown() override
    {
        form.reset();
        setNoticeSink(nullptr);
        setQuestionSink(nullptr);
        platform::setBeepSink(nullptr);
    }

    std::string programFolder() const { return QDir(folder.path()).absolutePath().toStdString(); }
    std::string path(const QString& name) const { return (QDir(folder.path()).absoluteFilePath(name)).toStdString(); }

    void writeFile(const QString& name, const QByteArray& content = QByteArray())
    {
        QDir().mkpath(QFileInfo(QDir(folder.path()).absoluteFilePath(name)).absolutePath());
        QFile file(QDir(folder.path()).absoluteFilePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray readFile(const QString& name) const
    {
        QFile file(QDir(folder.path()).absoluteFilePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Creates the window and runs its first activation.
    TMainForm1& open(std::vector<std::string> arguments = {})
    {
        form = std::make_unique<TMainForm1>(programFolder(), std::move(arguments));
        form->FormActivate();
        return *form;
    }

    QTemporaryDir folder;
    std::unique_ptr<TMainForm1> form;
    std::vector<RecordedNotice> notices;
    std::vector<QString> questions;
    std::deque<bool> answers;
    CountingBeep beeps;
};

}  // namespace kelmora::test
