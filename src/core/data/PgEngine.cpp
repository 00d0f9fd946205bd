#include "core/data/PgEngine.h"
#include "core/data/PgPipeline.h"

#include "core/data/Schema.h"
#include "core/data/Statement.h"

#include <QRegularExpression>
#include <QSysInfo>

#include <libpq-fe.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace korvan {

namespace {

QString quoted(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// A select of a table's rows as the store keeps them (every column, and perhaps each row's
// version): its columns are whole numbers, doubles and text, all read in binary form.
bool readsStoredRows(const QString &sql)
{
    static const QRegularExpression rows(QStringLiteral("^SELECT \\*(?:, xmin::text)? FROM \"([^\"]+)\""));
    const QRegularExpressionMatch m = rows.match(sql);
    return m.hasMatch() && tableDef(m.captured(1));
}

class PgStatement : public Statement {
public:
    // A statement run once is not prepared: its text goes with its one run.
    enum Use { Reused, Once };

    PgStatement(PgEngine &engine, const QString &sql, Use use = Reused) : m_engine(engine), m_once(use == Once)
    {
        int count = 0;
        m_text = PgEngine::numberedPlaceholders(sql, &count);
        m_writes = writtenTable(sql);
        // An insert into a table whose key the server numbers returns that key in the same round trip.
        m_inserts = !m_writes.isEmpty() && sql.trimmed().startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive);
        if (m_inserts && !sql.contains(QLatin1String("RETURNING"), Qt::CaseInsensitive)) {
            const TableDef *t = tableDef(m_writes);
            if (t && !t->fields.empty() && t->fields[0].type == FieldType::AutoInc) {
                m_text += " RETURNING \"Kod\"";
                m_returnsKey = true;
            }
        }
        if (m_inserts)
            m_shape = PgPipeline::RowShape::insertOf(m_text, count);
        else if (!m_writes.isEmpty())
            m_shape = PgPipeline::RowShape::updateOf(m_text, count);
        m_parameters.resize(size_t(count));
        if (m_shape.valid())
            m_types = m_shape.types;
        m_binaryAnswers = readsStoredRows(sql);
        if (m_once)
            return;
        // Inside a command the statement is prepared without waiting, like the rows it writes:
        // waiting would make the server finish everything sent before.
        if (m_engine.canSendAhead()) {
            m_name = m_engine.nextStatementName();
            m_generation = m_engine.generation();
            m_engine.prepareAhead(m_name, m_text, m_types, count);
            return;
        }
        const std::unique_ptr<PGresult, void (*)(PGresult *)> r(m_engine.roundTrip([this] { return prepareHere(); }),
                                                                PQclear);
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            m_engine.failWith(r.get());
    }

    ~PgStatement() override
    {
        clearResult();
        // While statements sent ahead wait for their answers nothing else may be sent: the
        // statement is then left to the end of the session.
        if (!m_name.isEmpty() && m_generation == m_engine.generation() && !m_engine.answersPending() &&
            PQstatus(m_engine.connection()) == CONNECTION_OK)
            m_engine.execQuietly(QStringLiteral("DEALLOCATE %1").arg(QString::fromLatin1(m_name)));
    }

    void reset() override
    {
        clearResult();
        m_parameters.clear();
    }

    void bind(int index, const QVariant &value) override
    {
        if (m_result)
            reset();
        if (index < 0 || size_t(index) >= m_parameters.size())
            m_engine.fail(QStringLiteral("параметр %1 вне запроса").arg(index + 1));
        m_parameters.set(size_t(index), value, m_types.empty() ? 0 : m_types[size_t(index)]);
    }

    bool next() override
    {
        if (!m_result) {
            m_engine.statementSent();
            PGresult *r = run();
            const ExecStatusType status = PQresultStatus(r);
            if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
                const std::unique_ptr<PGresult, void (*)(PGresult *)> guard(r, PQclear);
                reset();
                m_engine.failWith(r);
            }
            if (!m_writes.isEmpty()) {
                m_engine.wrote(m_writes);
                // Whoever reads the new row's key tells the engine (keyTaken) after this.
                if (m_inserts)
                    m_engine.keysUnknown(m_writes);
            }
            m_result = r;
            m_row = -1;
            m_columns = PQnfields(r);
            // A read's answers come in binary form from its second run on, once its first told
            // the columns' types (prepared statements keep them).
            if (m_writes.isEmpty() && status == PGRES_TUPLES_OK && !m_binaryAnswers)
                m_binaryAnswers = pgBinaryReadable(r);
            if (m_returnsKey) {
                if (PQntuples(r) > 0)
                    m_engine.setLastInsertId(PQgetvalue(r, 0, 0) ? QByteArray(PQgetvalue(r, 0, 0)).toLongLong() : 0);
                reset();
                return false;
            }
        }
        if (++m_row < PQntuples(m_result))
            return true;
        reset();
        return false;
    }

    int columnCount() const override { return m_columns; }

    QVariant column(int index) const override
    {
        if (!m_result || m_row < 0 || index < 0 || index >= m_columns)
            return {};
        return pgValue(m_result, m_row, index);
    }

    bool sendAhead(const void *owner, qint64 expectedKey, Answer answer) override
    {
        // A statement not yet prepared on this connection waits for its preparation: not ahead.
        if (!m_engine.canSendAhead() || m_name.isEmpty() || m_generation != m_engine.generation())
            return false;
        if (m_result)
            clearResult();
        m_engine.statementSent();
        PgPipeline::Waiting waiting{owner, expectedKey, std::move(answer)};
        if (m_shape.valid())
            m_engine.gatherAhead(m_shape, m_parameters, std::move(waiting));
        else
            m_engine.sendAhead(m_name, m_parameters, std::move(waiting));
        m_parameters.clear();
        if (!m_writes.isEmpty()) {
            m_engine.wrote(m_writes);
            if (m_inserts && !expectedKey)
                m_engine.keysUnknown(m_writes);
        }
        return true;
    }

private:
    PGresult *run()
    {
        const int format = m_binaryAnswers ? 1 : 0;
        // Writes sent ahead are answered in the same round trip as this statement.
        if (m_engine.answersPending() && m_engine.canSendAhead() &&
            (m_once || (!m_name.isEmpty() && m_generation == m_engine.generation())))
            return m_engine.readAfterAnswers(m_name, m_once ? m_text : QByteArray(), m_types, m_parameters, format);
        const PgParameters::View values = m_parameters.view();
        return m_engine.roundTrip([&]() -> PGresult * {
            if (m_once)
                return PQexecParams(m_engine.connection(), m_text.constData(), values.count(),
                                    m_types.empty() ? nullptr : m_types.data(), values.values.data(),
                                    values.lengths.data(), values.formats.data(), format);
            // A statement prepared on a connection since lost is prepared on the new one first.
            if (m_generation != m_engine.generation()) {
                PGresult *prepared = prepareHere();
                if (PQresultStatus(prepared) != PGRES_COMMAND_OK)
                    return prepared;
                PQclear(prepared);
            }
            return PQexecPrepared(m_engine.connection(), m_name.constData(), values.count(), values.values.data(),
                                  values.lengths.data(), values.formats.data(), format);
        });
    }

    PGresult *prepareHere()
    {
        m_name = m_engine.nextStatementName();
        m_generation = m_engine.generation();
        PGresult *r = PQprepare(m_engine.connection(), m_name.constData(), m_text.constData(), int(m_parameters.size()),
                                m_types.empty() ? nullptr : m_types.data());
        if (PQresultStatus(r) != PGRES_COMMAND_OK)
            m_name.clear();
        return r;
    }

    void clearResult()
    {
        if (m_result)
            PQclear(m_result);
        m_result = nullptr;
        m_row = -1;
    }

    PgEngine &m_engine;
    QByteArray m_text;
    QString m_writes; // the table an INSERT, UPDATE or DELETE writes
    QByteArray m_name;
    int m_generation = -1;
    PgParameters m_parameters;
    std::vector<unsigned> m_types; // declared at preparation; empty: the server infers them
    int m_columns = 0;
    PgPipeline::RowShape m_shape; // a write of one row, which may be gathered with others
    PGresult *m_result = nullptr;
    int m_row = -1;
    bool m_returnsKey = false;
    bool m_binaryAnswers = false;
    const bool m_once;
    bool m_inserts = false;
};

void ignoreNotice(void *, const char *) {}

// libpq's explanation of a lost connection takes several lines; the first says what happened.
QString firstLine(const char *text) { return QString::fromUtf8(text).trimmed().section(QLatin1Char('\n'), 0, 0); }

} // namespace

QString writtenTable(const QString &sql)
{
    static const QRegularExpression write(
        QStringLiteral("^\\s*(?:INSERT\\s+INTO|UPDATE|DELETE\\s+FROM)\\s+\"([^\"]+)\""),
        QRegularExpression::CaseInsensitiveOption);
    return write.match(sql).captured(1);
}

QString PgEngine::shownAddress(const QString &address)
{
    QString shown = address;
    static const QRegularExpression userPassword(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*://[^:@/?]*):[^@/?]*@"),
                                                 QRegularExpression::CaseInsensitiveOption);
    shown.replace(userPassword, QStringLiteral("\\1@"));
    static const QRegularExpression passwordParameter(QStringLiteral("([?&])password=[^&]*&?"));
    shown.replace(passwordParameter, QStringLiteral("\\1"));
    static const QRegularExpression passwordKey(
        QStringLiteral("(^|\\s)password\\s*=\\s*(?:'(?:[^'\\\\]|\\\\.)*'|\\S*)\\s*"),
        QRegularExpression::CaseInsensitiveOption);
    shown.replace(passwordKey, QStringLiteral("\\1"));
    shown = shown.trimmed();
    if (shown.endsWith(QLatin1Char('&')) || shown.endsWith(QLatin1Char('?')))
        shown.chop(1);
    return shown;
}

QString PgEngine::clientName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    if (user.isEmpty())
        return QSysInfo::machineHostName();
    return user + QLatin1Char('@') + QSysInfo::machineHostName();
}

QByteArray PgEngine::numberedPlaceholders(const QString &sql, int *count)
{
    const QByteArray in = sql.toUtf8();
    QByteArray out;
    out.reserve(in.size() + 16);
    int highest = 0;
    char quote = 0;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            out += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            out += c;
        } else if (c == '?') {
            // "?NNN" names its parameter as the file engine reads it; a bare "?" is the next one.
            qsizetype end = i + 1;
            while (end < in.size() && in[end] >= '0' && in[end] <= '9')
                ++end;
            const int number = end > i + 1 ? in.mid(i + 1, end - i - 1).toInt() : highest + 1;
            highest = std::max(highest, number);
            out += '$' + QByteArray::number(number);
            i = end - 1;
        } else {
            out += c;
        }
    }
    if (count)
        *count = highest;
    return out;
}

namespace {

// libpq speaks English (its translations are seldom installed): the usual causes are told in
// Russian, with libpq's own words after them for whoever looks into it.
QString connectionFailureReason(const QString &why)
{
    struct Cause {
        const char *english, *alsoEnglish, *russian;
    };
    static const Cause known[] = {
        {"password authentication failed", nullptr, "пароль не подошел"},
        {"no password supplied", nullptr, "сервер требует пароль"},
        {"Connection refused", nullptr, "сервер не принимает соединения (не запущен или закрыт брандмауэром)"},
        {"could not translate host name", nullptr, "имя сервера не найдено"},
        {"timeout expired", nullptr, "сервер не ответил вовремя"},
        {"Connection timed out", nullptr, "сервер не ответил вовремя"},
        {"No route to host", nullptr, "сервер недоступен по сети"},
        {"Network is unreachable", nullptr, "сеть недоступна"},
        {"no pg_hba.conf entry", nullptr, "сервер не разрешает подключение с этого компьютера или этому пользователю"},
        {"database \"", "does not exist", "база данных не найдена на сервере"},
        {"role \"", "does not exist", "пользователь не найден на сервере"},
    };
    for (const Cause &c : known)
        if (why.contains(QLatin1String(c.english), Qt::CaseInsensitive) &&
            (!c.alsoEnglish || why.contains(QLatin1String(c.alsoEnglish))))
            return QString::fromUtf8(c.russian) + QStringLiteral(" (") + why.simplified() + u')';
    return why;
}

} // namespace

PgEngine::PgEngine(const QString &address) : m_shown(shownAddress(address))
{
    // libpq knows its URIs by a scheme in small letters only.
    QString spelled = address;
    static const QRegularExpression scheme(QStringLiteral("^postgres(?:ql)?://"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (const auto m = scheme.match(spelled); m.hasMatch())
        spelled.replace(0, m.capturedLength(), m.captured().toLower());
    const QByteArray url = spelled.toUtf8();
    const QByteArray application = clientName().toUtf8();
    const char *keywords[] = {"dbname", "fallback_application_name", "client_encoding", nullptr};
    const char *values[] = {url.constData(), application.constData(), "UTF8", nullptr};
    m_conn = PQconnectdbParams(keywords, values, 1);
    if (!m_conn)
        throw KorvanError(
            QStringLiteral("Не удалось подключиться к серверу PostgreSQL «%1»: нет памяти.").arg(m_shown));
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString why = connectionFailureReason(QString::fromUtf8(PQerrorMessage(m_conn)).trimmed());
        // The server asked for a password: none was given, or the one given was refused.
        const bool needsPassword = PQconnectionNeedsPassword(m_conn);
        const bool passwordRefused = !needsPassword && PQconnectionUsedPassword(m_conn);
        PQfinish(m_conn);
        m_conn = nullptr;
        const QString message = QStringLiteral("Не удалось подключиться к серверу PostgreSQL «%1»: %2\n"
                                               "Проверьте адрес сервера, что сервер запущен и доступен по сети, "
                                               "имя пользователя и пароль (~/.pgpass или PGPASSWORD).")
                                    .arg(m_shown, why);
        if (needsPassword || passwordRefused)
            throw PasswordNeeded(message, passwordRefused);
        throw KorvanError(message);
    }
    PQsetNoticeProcessor(m_conn, ignoreNotice, nullptr);
    startSession();
}

void PgEngine::startSession()
{
    // Doubles come back as the shortest text that reads as the same value (servers before 12
    // need the three extra digits for that); the user's messages stay in their language. What
    // other programs commit is heard on the changes channel.
    const QByteArray sql = QByteArray("SET extra_float_digits = 3; LISTEN ") + ChangesChannel;
    const std::unique_ptr<PGresult, void (*)(PGresult *)> r(PQexec(m_conn, sql.constData()), PQclear);
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
        failWith(r.get());
}

void PgEngine::reconnect()
{
    PQreset(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
        throw KorvanError(QStringLiteral("Связь с сервером PostgreSQL «%1» потеряна, и подключиться к нему заново не "
                                         "удалось: %2\nПовторите команду, когда сервер будет доступен.")
                              .arg(m_shown, firstLine(PQerrorMessage(m_conn))));
    ++m_generation;
    m_written.clear();
    m_pipeline.clear();
    m_nextKeys.clear();
    // Whatever others committed while the connection was down went unheard.
    m_missedChanges = true;
    startSession();
}

void PgEngine::ensureConnected()
{
    if (PQstatus(m_conn) == CONNECTION_OK)
        return;
    if (m_inTransaction)
        failLost(firstLine(PQerrorMessage(m_conn)));
    reconnect();
}

PGresult *PgEngine::roundTrip(const std::function<PGresult *()> &request)
{
    readAnswers();
    ensureConnected();
    PGresult *r = request();
    // A connection that looked alive but was cut while the program waited (a server restarted,
    // the backend terminated) is found out only now; outside a transaction the request is sent
    // once more on a new connection.
    if (PQstatus(m_conn) != CONNECTION_OK && resendable()) {
        PQclear(r);
        reconnect();
        r = request();
    }
    return r;
}

void PgEngine::failLost(const QString &why) const
{
    fail(QStringLiteral("соединение с сервером прервано%1. Изменения команды не сохранены: на сервере осталось "
                        "то, что было до нее. Следующая команда подключится к серверу заново.")
             .arg(why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why)),
         "08006", true);
}

int PgEngine::backendPid() const { return m_conn ? PQbackendPID(m_conn) : 0; }

void PgEngine::wrote(const QString &table)
{
    m_writeClocks.insert(table, ++m_clock);
    if (m_inTransaction) {
        if (!m_written.contains(table))
            m_written << table;
        return;
    }
    m_written = QStringList{table};
    beforeCommit(); // a statement alone commits as it ends
    m_written.clear();
}

void PgEngine::beforeCommit()
{
    readAnswers();
    if (m_answerFailed)
        fail(QStringLiteral("запись строк не удалась, изменения команды отменены"));
    if (m_written.isEmpty())
        return;
    // Sent inside the transaction, the notification is delivered when it commits and never
    // when it is undone.
    QString payload = m_written.join(QLatin1Char('\n'));
    payload.replace(QLatin1Char('\''), QStringLiteral("''"));
    exec(QStringLiteral("NOTIFY %1, '%2'").arg(QLatin1String(ChangesChannel), payload));
}

void PgEngine::transactionEnded()
{
    m_transactionClock = ++m_clock;
    dropAnswers();
    m_inTransaction = false;
    m_written.clear();
    m_nextKeys.clear();
    m_answerFailed = false;
    if (m_unpredicted > 0)
        --m_unpredicted;
}

void PgEngine::forgetAnswers(const void *owner) { m_pipeline.forget(owner); }

qint64 PgEngine::predictedKey(const QString &table) const
{
    // A key is predicted only after the server gave one in this transaction: the next ones follow
    // it as long as nobody else inserts into the table meanwhile, which the answers then tell.
    return m_inTransaction && m_unpredicted == 0 ? m_nextKeys.value(table, 0) : 0;
}

bool PgEngine::canSendAhead() const { return m_inTransaction && m_conn && PQstatus(m_conn) == CONNECTION_OK; }

void PgEngine::sendAhead(const QByteArray &name, const PgParameters &parameters, PgPipeline::Waiting waiting)
{
    sentAhead(m_pipeline.send(name, parameters, std::move(waiting)));
}

void PgEngine::prepareAhead(const QByteArray &name, const QByteArray &text, const std::vector<unsigned> &types,
                            int parameters)
{
    sentAhead(m_pipeline.prepare(name, text, types, parameters));
}

void PgEngine::gatherAhead(const PgPipeline::RowShape &shape, const PgParameters &parameters,
                           PgPipeline::Waiting waiting)
{
    sentAhead(m_pipeline.gather(shape, parameters, std::move(waiting)));
}

void PgEngine::sentAhead(bool sent)
{
    // libpq refused: the connection is gone, and what was sent before it with it.
    if (!sent) {
        m_answerFailed = true;
        failWith(nullptr);
    }
    if (m_pipeline.full())
        readAnswers();
}

void PgEngine::readAnswers()
{
    if (!m_pipeline.pending())
        return;
    std::vector<PgPipeline::Answered> answered;
    PGresult *failure = nullptr;
    const bool connected = m_pipeline.collect(&answered, &failure);
    const std::unique_ptr<PGresult, void (*)(PGresult *)> guard(failure, PQclear);
    if (!connected || failure) {
        m_answerFailed = true;
        m_nextKeys.clear();
        if (!connected)
            failLost(firstLine(PQerrorMessage(m_conn)));
        failWith(failure);
    }
    for (const PgPipeline::Answered &a : answered) {
        const qint64 expected = a.waiting.expectedKey;
        if (expected && (a.row.isEmpty() || a.row[0].toLongLong() != expected)) {
            // Another program inserted into the same table meanwhile: the rows that refer to the
            // keys as predicted refer to others' rows. The command is undone and tried again,
            // then waiting for every key.
            m_answerFailed = true;
            m_nextKeys.clear();
            m_unpredicted = 2;
            fail(QStringLiteral("другой пользователь одновременно добавлял строки в ту же таблицу"), "40001");
        }
    }
    try {
        for (const PgPipeline::Answered &a : answered)
            if (a.waiting.answer)
                a.waiting.answer(a.row);
    } catch (...) {
        m_answerFailed = true;
        throw;
    }
}

PGresult *PgEngine::readAfterAnswers(const QByteArray &name, const QByteArray &text, const std::vector<unsigned> &types,
                                     const PgParameters &parameters, int resultFormat)
{
    PGresult *result = nullptr;
    try {
        sentAhead(m_pipeline.sendRead(name, text, types, parameters, resultFormat, &result));
        readAnswers();
    } catch (...) {
        PQclear(result);
        throw;
    }
    return result;
}

void PgEngine::settleAnswers()
{
    try {
        readAnswers();
    } catch (...) {
        m_answerFailed = true; // readAnswers marks it too; a lost connection fails the commit anyway
    }
}

void PgEngine::dropAnswers()
{
    if (!m_pipeline.pending())
        return;
    m_pipeline.drop();
    m_nextKeys.clear();
}

Engine::Changes PgEngine::takeChanges()
{
    Changes out;
    out.everything = std::exchange(m_missedChanges, false);
    if (!m_conn || m_pipeline.pending() || PQstatus(m_conn) != CONNECTION_OK || !PQconsumeInput(m_conn))
        return out;
    const int own = PQbackendPID(m_conn);
    while (PGnotify *n = PQnotifies(m_conn)) {
        if (n->be_pid != own)
            for (const QString &table : QString::fromUtf8(n->extra).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                if (!out.tables.contains(table))
                    out.tables << table;
        PQfreemem(n);
    }
    return out;
}

PgEngine::~PgEngine()
{
    if (m_conn)
        PQfinish(m_conn);
}

QString PgEngine::placeText() const { return QStringLiteral("на сервере «%1»").arg(m_shown); }

void PgEngine::failWith(const pg_result *result) const
{
    const char *message =
        result && PQresultErrorMessage(result)[0] ? PQresultErrorMessage(result) : PQerrorMessage(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
        failLost(firstLine(message));
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    fail(QString::fromUtf8(message).trimmed(), state ? QByteArray(state) : QByteArray());
}

std::unique_ptr<Statement> PgEngine::prepare(const QString &sql) { return std::make_unique<PgStatement>(*this, sql); }

std::unique_ptr<Statement> PgEngine::prepareOnce(const QString &sql)
{
    return std::make_unique<PgStatement>(*this, sql, PgStatement::Once);
}

void PgEngine::exec(const QString &sql)
{
    statementSent();
    const QByteArray text = sql.toUtf8();
    PGresult *r = roundTrip([&] { return PQexec(m_conn, text.constData()); });
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const std::unique_ptr<PGresult, void (*)(PGresult *)> guard(r, PQclear);
        failWith(r);
    }
    PQclear(r);
    const QString table = writtenTable(sql);
    if (!table.isEmpty())
        wrote(table);
}

void PgEngine::execQuietly(const QString &sql)
{
    dropAnswers();
    if (m_conn)
        PQclear(PQexec(m_conn, sql.toUtf8().constData()));
}

QString PgEngine::nullsOrder(bool descending) const
{
    return descending ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST");
}

QString PgEngine::columnType(const FieldDef &field) const
{
    switch (field.type) {
    case FieldType::AutoInc:
        return QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    case FieldType::Integer:
    case FieldType::Boolean:
        return valueType(Value::Integer);
    case FieldType::Float:
        return valueType(Value::Real);
    default:
        return valueType(Value::Text);
    }
}

QString PgEngine::reportedType(const FieldDef &field) const
{
    switch (field.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::Boolean:
        return QStringLiteral("bigint");
    case FieldType::Float:
        return QStringLiteral("double precision");
    default:
        return QStringLiteral("text");
    }
}

QString PgEngine::valueType(Value kind) const
{
    switch (kind) {
    case Value::Real:
        return QStringLiteral("double precision");
    case Value::Integer:
        return QStringLiteral("bigint");
    // Text is unlimited as in the file store, and compared and sorted by its characters' codes
    // as the file store does, whatever the server's locale.
    case Value::Text:
        return QStringLiteral("text COLLATE \"C\"");
    }
    return {};
}

QStringList PgEngine::columnsOf(const QString &table)
{
    PgStatement q(*this, QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                        "WHERE table_schema = current_schema() AND table_name = ? "
                                        "ORDER BY ordinal_position"));
    q.bind(0, table);
    QStringList found;
    while (q.next())
        found << q.column(0).toString() + QLatin1Char(' ') + q.column(1).toString();
    return found;
}

int PgEngine::tableCount()
{
    PgStatement q(*this, QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                        "WHERE table_schema = current_schema() AND table_type = 'BASE TABLE'"));
    const int n = q.next() ? q.column(0).toInt() : 0;
    q.reset();
    return n;
}

int PgEngine::schemaVersion()
{
    // The version lives in a table of its own: a server has no header to keep it in.
    PgStatement exists(*this, QStringLiteral("SELECT to_regclass(?) IS NOT NULL"));
    exists.bind(0, quoted(QLatin1String(VersionTable)));
    const bool there = exists.next() && exists.column(0).toLongLong() != 0;
    exists.reset();
    if (!there)
        return 0;
    PgStatement q(*this, QStringLiteral("SELECT max(\"Version\") FROM \"%1\"").arg(QLatin1String(VersionTable)));
    const int n = q.next() ? q.column(0).toInt() : 0;
    q.reset();
    return n;
}

void PgEngine::setSchemaVersion(int version)
{
    exec(QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" (\"Version\" bigint NOT NULL)")
             .arg(QLatin1String(VersionTable)));
    exec(QStringLiteral("DELETE FROM \"%1\"").arg(QLatin1String(VersionTable)));
    exec(QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(QLatin1String(VersionTable)).arg(version));
}

void PgEngine::createDeleteTrigger(const QString &name, const QString &owner, const QString &ownerKey,
                                   const QString &table, const QString &column)
{
    exec(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                        "$body$BEGIN DELETE FROM %2 WHERE %3 = OLD.%4; RETURN NULL; END$body$")
             .arg(quoted(name), quoted(table), quoted(column), quoted(ownerKey)));
    exec(QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 FOR EACH ROW EXECUTE FUNCTION %1()")
             .arg(quoted(name), quoted(owner)));
}

void PgEngine::lockProject(qint64 kod)
{
    // Session locks keyed by (ProjectLockClass, Kod): released when the program's connection ends,
    // whatever way it ends.
    PgStatement take(*this,
                     QStringLiteral("SELECT pg_try_advisory_lock(%1, CAST(? AS integer))").arg(ProjectLockClass));
    take.bind(0, kod);
    const bool taken = take.next() && take.column(0).toLongLong() != 0;
    take.reset();
    if (taken)
        return;
    PgStatement who(*this,
                    QStringLiteral("SELECT a.usename, a.application_name FROM pg_locks l JOIN pg_stat_activity a "
                                   "ON a.pid = l.pid "
                                   "WHERE l.locktype = 'advisory' AND l.classid = %1 AND l.objsubid = 2 "
                                   "AND l.objid = CAST(CAST(? AS integer) AS oid) AND l.granted")
                        .arg(ProjectLockClass));
    who.bind(0, kod);
    // The holder's database role, which the server knows for sure, and the name its program gave
    // (the computer and the login there).
    QString holder;
    if (who.next()) {
        holder = who.column(0).toString();
        const QString program = who.column(1).toString();
        if (!program.isEmpty())
            holder += QStringLiteral(" (%1)").arg(program);
    }
    who.reset();
    if (holder.isEmpty())
        holder = QStringLiteral("неизвестный пользователь");
    throw KorvanError(QStringLiteral("Проект с кодом %1 сейчас изменяет другой пользователь: %2. "
                                     "Повторите команду, когда он закончит.")
                          .arg(kod)
                          .arg(holder));
}

QString PgEngine::identity()
{
    // The cluster's own identifier and the database's number in it; pg_control_system() is not
    // granted to every role, and then the server's address and port stand in for the cluster.
    PgStatement cluster(*this, QStringLiteral("SELECT CAST(system_identifier AS text) FROM pg_control_system()"),
                        PgStatement::Once);
    QString which;
    try {
        which = cluster.next() ? cluster.column(0).toString() : QString();
        cluster.reset();
    } catch (const KorvanError &) {
        PgStatement address(*this,
                            QStringLiteral("SELECT coalesce(host(inet_server_addr()), 'local') || ':' || "
                                           "current_setting('port')"),
                            PgStatement::Once);
        which = address.next() ? address.column(0).toString() : QString();
        address.reset();
    }
    PgStatement database(*this,
                         QStringLiteral("SELECT CAST(oid AS text) FROM pg_database WHERE datname = current_database()"),
                         PgStatement::Once);
    const QString oid = database.next() ? database.column(0).toString() : QString();
    database.reset();
    return QStringLiteral("postgresql:%1:%2").arg(which, oid);
}

void PgEngine::lockSchema()
{
    // Any constant will do, as long as every copy of the program uses the same one.
    exec(QStringLiteral("SELECT pg_advisory_xact_lock(4711230001)"));
}

} // namespace korvan
