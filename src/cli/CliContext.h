#pragma once

#include <QStringList>
#include <memory>

namespace korvan {
class Store;
class TDataModule1;
} // namespace korvan

namespace korvan::cli {

struct Command;

// What one run of the command-line program works with: its data directory, the command's own
// arguments, and the store and shared cursors, opened on first use.
struct Context {
    Context();
    ~Context();

    QString dataDirectory; // a data directory or a server's address; empty: the program's data directory
    QStringList arguments;
    const Command *command = nullptr; // the command being run: the options it may take

    TDataModule1 &data();
    Store &store();
    // Closes the cursors and the store: the next use opens them afresh.
    void closeStore();

    // Takes "--name VALUE" out of the arguments; empty when absent.
    QString takeOption(const QString &name);
    // The same for a number: a decimal point becomes the program's comma.
    QString takeNumber(const QString &name);
    bool takeFlag(const QString &name);
    // The one positional argument left, or an error naming what is missing.
    QString takePositional(const QString &what);
    void requireNoArguments() const;

private:
    std::unique_ptr<Store> m_store;
    std::unique_ptr<TDataModule1> m_data;
};

} // namespace korvan::cli
