// StoreChoice: which store the program opens, remembered per user, and its address.
#pragma once

#include "core/InputProblem.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QSettings;

namespace korvan {

class Store;

// The store the user chose in "Хранилище данных...": a data folder on this computer (the
// default) or a database on a PostgreSQL server. The password is never part of it: the dialog keeps
// the one typed for this run only; at start-up libpq takes it from ~/.pgpass or PGPASSWORD, or the
// user is asked for it (openStartupStore).
struct StoreChoice {
    enum class Kind { Folder, Server };
    // The dialog's fields, for the focus of a refused one.
    enum Field { FolderField, HostField, PortField, DatabaseField, UserField };

    Kind kind = Kind::Folder;
    QString folder;
    QString host;
    int port = 0; // 0: libpq's default (PGPORT or 5432)
    QString database;
    QString user;

    // What the user's settings remember; nothing remembered is the default data folder.
    static StoreChoice load(QSettings &settings);
    void save(QSettings &settings) const;
    // The per-user settings of the program.
    static std::unique_ptr<QSettings> userSettings();

    // A refusal of fields that give no address (no folder, no server host).
    std::optional<InputProblem> problem() const;
    // The address Store::open takes: the folder, or postgresql://user@host:port/database with each
    // part percent-encoded and an IPv6 host in brackets. Empty when problem() refuses the fields.
    QString location() const;
    // The server's address without its options, for messages.
    QString shownServer() const;
    bool operator==(const StoreChoice &) const = default;
};

// Opens the store at a location; a server's password is given apart from its address: libpq reads
// PGPASSWORD while it connects, and the variable is restored at once so that no program started
// later inherits it. A server that does not answer is given up after ConnectTimeout seconds
// (unless PGCONNECT_TIMEOUT says otherwise) instead of the system's minutes.
constexpr int ConnectTimeout = 10;
std::unique_ptr<Store> openStore(const QString &location, const QString &password = {});

// The store of the program's start: the remembered choice. A server that cannot be opened is
// reported with its address, and the user may open the local data folder instead (the remembered
// folder, else the default one); so may they when a chosen folder other than the default one
// fails. Null when they decline or the other store fails too (reported).
//
// A server that wants a password (none in ~/.pgpass or PGPASSWORD, or one it refused) has the
// user asked for it, with the server's words, until it is accepted or the user gives up: the
// prompt gets the message and returns the password, or nothing when the user cancels. The
// password lives in memory only, for the connection being made.
using PasswordPrompt = std::function<std::optional<QString>(const QString &message)>;
std::unique_ptr<Store> openStartupStore(const StoreChoice &choice, const QString &defaultFolder,
                                        const PasswordPrompt &askPassword = {});

// The store named on the command line (--store FOLDER|postgresql://...) for this run only: the
// user's settings are neither read nor changed. A server's password is asked when it needs one. A
// failure throws: there is no other store to fall back on, the user asked for this one.
std::unique_ptr<Store> openGivenStore(const QString &location, const PasswordPrompt &askPassword = {});

// "Проверить соединение": what the user is told when the chosen store can be opened (it is closed
// again at once); a KorvanError naming the folder or the server when it cannot. The store the
// program has open is not opened twice, and a folder without a data file is only checked for
// writing, so that a mere check creates nothing.
QString checkStore(const StoreChoice &choice, const QString &password, const Store *current);

} // namespace korvan
