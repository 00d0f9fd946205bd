#pragma once

#include "core/Messages.h"

#include <QStringList>

namespace korvan::test {

// Keeps every message the code under test shows and answers its questions from a script.
// Installed for its lifetime.
class MessageRecorder : public MessageSink {
public:
    MessageRecorder();
    ~MessageRecorder() override;

    void error(const QString &text) override
    {
        errors << text;
        all << text;
    }
    void information(const QString &text) override
    {
        informations << text;
        all << text;
    }
    void warning(const QString &text) override
    {
        warnings << text;
        all << text;
    }
    bool question(const QString &text) override;
    bool cautiousQuestion(const QString &text) override;

    void clear();

    QStringList errors, informations, warnings, questions, all;
    // The questions whose default answer is No (also in questions).
    QStringList cautiousQuestions;
    // Answers to the next questions, first first; No once they run out.
    QList<bool> answers;

private:
    MessageSink *m_previous;
};

} // namespace korvan::test
