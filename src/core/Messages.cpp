#include "core/Messages.h"

#include <cstdio>

namespace korvan {

namespace {

class StderrSink : public MessageSink {
public:
    void error(const QString &text) override { print(text); }
    void information(const QString &text) override { print(text); }
    void warning(const QString &text) override { print(text); }
    bool question(const QString &text) override
    {
        print(text);
        return false;
    }

private:
    static void print(const QString &text)
    {
        std::fputs(text.toUtf8().constData(), stderr);
        std::fputc('\n', stderr);
    }
};

StderrSink defaultSink;
MessageSink *current = &defaultSink;

} // namespace

void Messages::error(const QString &text) { current->error(text); }
void Messages::information(const QString &text) { current->information(text); }
void Messages::warning(const QString &text) { current->warning(text); }
bool Messages::question(const QString &text) { return current->question(text); }
bool Messages::cautiousQuestion(const QString &text) { return current->cautiousQuestion(text); }

MessageSink *Messages::install(MessageSink *sink)
{
    MessageSink *previous = current == &defaultSink ? nullptr : current;
    current = sink ? sink : &defaultSink;
    return previous;
}

} // namespace korvan
