#include "MessageRecorder.h"

namespace korvan::test {

MessageRecorder::MessageRecorder() : m_previous(Messages::install(this)) {}

MessageRecorder::~MessageRecorder() { Messages::install(m_previous); }

bool MessageRecorder::question(const QString &text)
{
    questions << text;
    all << text;
    return answers.isEmpty() ? false : answers.takeFirst();
}

bool MessageRecorder::cautiousQuestion(const QString &text)
{
    cautiousQuestions << text;
    return question(text);
}

void MessageRecorder::clear()
{
    cautiousQuestions.clear();
    errors.clear();
    informations.clear();
    warnings.clear();
    questions.clear();
    all.clear();
}

} // namespace korvan::test
