#pragma once

#include <QString>
#include <stdexcept>

namespace korvan {

// Where the program's messages go: message boxes in the program, standard error in the
// command-line program, a recorder in the tests. Exactly one sink is installed at a time.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void error(const QString &text) = 0;
    virtual void information(const QString &text) = 0;
    virtual void warning(const QString &text) = 0;
    // Yes/No question; true for Yes.
    virtual bool question(const QString &text) = 0;
    // The same with No as the default answer, for what cannot be undone (a deletion).
    virtual bool cautiousQuestion(const QString &text) { return question(text); }
};

class Messages {
public:
    static void error(const QString &text);
    static void information(const QString &text);
    static void warning(const QString &text);
    static bool question(const QString &text);
    static bool cautiousQuestion(const QString &text);

    // Installs a sink and returns the previous one; nullptr restores the default (standard error,
    // questions answered No).
    static MessageSink *install(MessageSink *sink);
};

// An error that ends a command: its text is shown to the user as it stands.
class KorvanError : public std::runtime_error {
public:
    explicit KorvanError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// Cancels the operation in progress without a further message: a hook that has already shown
// its message throws it.
class Abort : public std::exception {
public:
    const char *what() const noexcept override { return "operation aborted"; }
};

} // namespace korvan
