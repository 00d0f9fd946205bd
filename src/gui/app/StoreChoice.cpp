// StoreChoice: which store the program opens, remembered per user, and its address.
#include "gui/app/StoreChoice.h"

#include "core/data/Engine.h"
#include "core/data/Store.h"
#include "core/Messages.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace korvan {

namespace {

const QString KindKey = QStringLiteral("store/kind");
const QString FolderKey = QStringLiteral("store/folder");
const QString HostKey = QStringLiteral("store/host");
const QString PortKey = QStringLiteral("store/port");
const QString DatabaseKey = QStringLiteral("store/database");
const QString UserKey = QStringLiteral("store/user");

QString encoded(const QString &text, const QByteArray &keep = {})
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

// An IPv6 address goes in brackets, its colons as they are; a socket directory (/run/...) and a
// host name are encoded whole.
QString encodedHost(const QString &host)
{
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('/')))
        return QLatin1Char('[') + encoded(host, ":") + QLatin1Char(']');
    return encoded(host);
}

// Sets an environment variable for a scope and puts back what was there before.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_before(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_before);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_before;
};

} // namespace

StoreChoice StoreChoice::load(QSettings &settings)
{
    StoreChoice c;
    if (settings.value(KindKey).toString() == QLatin1String("server"))
        c.kind = Kind::Server;
    c.folder = settings.value(FolderKey).toString();
    if (c.folder.isEmpty())
        c.folder = Store::defaultDataDirectory();
    c.host = settings.value(HostKey).toString();
    bool ok = false;
    const int port = settings.value(PortKey).toInt(&ok);
    c.port = ok && port > 0 && port <= 65535 ? port : 0;
    c.database = settings.value(DatabaseKey).toString();
    c.user = settings.value(UserKey).toString();
    return c;
}

void StoreChoice::save(QSettings &settings) const
{
    // The fields of the kind not chosen are kept too: switching back finds them filled in.
    settings.setValue(KindKey, kind == Kind::Server ? QStringLiteral("server") : QStringLiteral("folder"));
    settings.setValue(FolderKey, folder.trimmed());
    settings.setValue(HostKey, host.trimmed());
    settings.setValue(PortKey, port);
    settings.setValue(DatabaseKey, database.trimmed());
    settings.setValue(UserKey, user.trimmed());
    settings.sync();
}

std::unique_ptr<QSettings> StoreChoice::userSettings()
{
    return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Korvan Vkp"),
                                       QStringLiteral("Korvan Vkp"));
}

std::optional<InputProblem> StoreChoice::problem() const
{
    if (kind == Kind::Folder) {
        if (folder.trimmed().isEmpty())
            return InputProblem{FolderField, QStringLiteral("Укажите каталог данных.")};
        // A relative path would mean another folder whenever the program starts elsewhere.
        if (!QDir::isAbsolutePath(folder.trimmed()))
            return InputProblem{FolderField, QStringLiteral("Укажите полный путь к каталогу данных.")};
        return std::nullopt;
    }
    if (host.trimmed().isEmpty())
        return InputProblem{HostField, QStringLiteral("Укажите адрес сервера PostgreSQL.")};
    if (port < 0 || port > 65535)
        return InputProblem{PortField, QStringLiteral("Порт сервера должен быть от 1 до 65535.")};
    return std::nullopt;
}

QString StoreChoice::shownServer() const
{
    QString url = QStringLiteral("postgresql://");
    const QString name = user.trimmed();
    if (!name.isEmpty())
        url += encoded(name) + QLatin1Char('@');
    url += encodedHost(host.trimmed());
    if (port > 0)
        url += QLatin1Char(':') + QString::number(port);
    const QString db = database.trimmed();
    if (!db.isEmpty())
        url += QLatin1Char('/') + encoded(db);
    return url;
}

QString StoreChoice::location() const
{
    if (problem())
        return {};
    if (kind == Kind::Folder)
        return QDir::cleanPath(folder.trimmed());
    return shownServer();
}

std::unique_ptr<Store> openStore(const QString &location, const QString &password)
{
    if (!Store::isServerAddress(location))
        return Store::open(location);
    std::optional<ScopedEnvironment> passwordVariable;
    if (!password.isEmpty())
        passwordVariable.emplace("PGPASSWORD", password.toUtf8());
    std::optional<ScopedEnvironment> timeout;
    if (!qEnvironmentVariableIsSet("PGCONNECT_TIMEOUT"))
        timeout.emplace("PGCONNECT_TIMEOUT", QByteArray::number(ConnectTimeout));
    return Store::open(location);
}

std::unique_ptr<Store> openGivenStore(const QString &location, const PasswordPrompt &askPassword)
{
    if (!Store::isServerAddress(location))
        return Store::open(QDir::cleanPath(location));
    QString password;
    for (;;) {
        try {
            return openStore(location, password);
        } catch (const PasswordNeeded &e) {
            const std::optional<QString> typed = askPassword ? askPassword(e.message()) : std::nullopt;
            if (!typed)
                throw KorvanError(e.message());
            password = *typed;
        }
    }
}

std::unique_ptr<Store> openStartupStore(const StoreChoice &choice, const QString &defaultFolder,
                                        const PasswordPrompt &askPassword)
{
    const QString folder = choice.folder.trimmed().isEmpty() ? defaultFolder : QDir::cleanPath(choice.folder.trimmed());
    QString failure;
    QString fallback;
    QString offer;
    if (choice.kind == StoreChoice::Kind::Server) {
        if (choice.problem()) {
            failure = QStringLiteral("В настройках программы выбран сервер PostgreSQL, но его адрес не указан.");
        } else {
            QString password;
            for (;;) {
                try {
                    return openStore(choice.location(), password);
                } catch (const PasswordNeeded &e) {
                    failure = e.message();
                    const std::optional<QString> typed =
                        askPassword ? askPassword(e.refused() ? e.message()
                                                              : QStringLiteral("Сервер PostgreSQL «%1» требует пароль.")
                                                                    .arg(choice.shownServer()))
                                    : std::nullopt;
                    if (!typed)
                        break;
                    password = *typed;
                } catch (const KorvanError &e) {
                    failure = e.message();
                    break;
                }
            }
        }
        fallback = folder;
        offer = QStringLiteral("Открыть вместо него локальное хранилище (каталог данных «%1»)?");
    } else {
        try {
            return Store::open(folder);
        } catch (const KorvanError &e) {
            failure = e.message();
        }
        // A chosen folder that is gone (a drive not attached) must not lock the user out of the
        // program and so out of the window where the choice is changed.
        fallback = defaultFolder;
        if (QDir(folder).absolutePath() == QDir(fallback).absolutePath()) {
            Messages::error(failure);
            return nullptr;
        }
        offer = QStringLiteral("Открыть вместо него хранилище в каталоге данных по умолчанию «%1»?");
    }
    if (!Messages::question(failure + QStringLiteral("\n\n") + offer.arg(QDir::toNativeSeparators(fallback)) +
                            QStringLiteral("\n«Нет» — завершить работу программы.")))
        return nullptr;
    try {
        return Store::open(fallback);
    } catch (const KorvanError &e) {
        Messages::error(e.message());
        return nullptr;
    }
}

QString checkStore(const StoreChoice &choice, const QString &password, const Store *current)
{
    if (const auto problem = choice.problem())
        throw KorvanError(problem->message);
    const QString location = choice.location();
    if (choice.kind == StoreChoice::Kind::Server) {
        if (current && current->onServer() && current->place() == location)
            return QStringLiteral("Программа сейчас работает с базой данных на сервере «%1».").arg(location);
        openStore(location, password);
        return QStringLiteral("Соединение с сервером «%1» установлено: база данных программы доступна.").arg(location);
    }
    const QString dir = QDir(location).absolutePath();
    const QString shown = QDir::toNativeSeparators(dir);
    if (current && !current->onServer() && !current->inMemory() && QDir(current->dataDirectory()).absolutePath() == dir)
        return QStringLiteral("Программа сейчас работает с каталогом данных «%1».").arg(shown);
    if (QFileInfo::exists(dir + QLatin1Char('/') + QLatin1String(Store::FileName))) {
        Store::open(dir, Store::Access::ReadOnly);
        return QStringLiteral("Каталог данных «%1» доступен: файл данных открыт.").arg(shown);
    }
    // The nearest folder that exists must let the program make the rest and write there.
    QFileInfo existing(dir);
    while (!existing.exists() && existing.absoluteFilePath() != existing.absolutePath())
        existing = QFileInfo(existing.absolutePath());
    if (!existing.isDir() || !existing.isWritable())
        throw KorvanError(QStringLiteral("Каталог данных «%1» недоступен для записи.").arg(shown));
    return QStringLiteral("В каталоге данных «%1» пока нет файла данных: программа создаст его при следующем запуске.")
        .arg(shown);
}

} // namespace korvan
