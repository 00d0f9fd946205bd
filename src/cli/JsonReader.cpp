#include "cli/JsonReader.h"

#include "core/Messages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>

namespace korvan::cli {

namespace {

// A walk over a JSON text that QJsonDocument has already accepted: only the keys of objects are
// read, with the path that leads to them.
class KeyWalk {
public:
    explicit KeyWalk(const QByteArray &json) : m_p(json.constData()), m_end(json.constData() + json.size()) {}

    std::optional<QString> run()
    {
        value();
        return m_found;
    }

private:
    void blanks()
    {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\n' || *m_p == '\r'))
            ++m_p;
    }

    static int hex(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return 0;
    }

    // The text of a string at its opening quote, its escapes undone: "\u0061" and "a" are one key.
    QString string()
    {
        ++m_p;
        QByteArray raw;
        QString out;
        const auto flush = [&] {
            out += QString::fromUtf8(raw);
            raw.clear();
        };
        while (m_p < m_end && *m_p != '"') {
            if (*m_p != '\\') {
                raw += *m_p++;
                continue;
            }
            ++m_p;
            if (m_p >= m_end)
                break;
            const char c = *m_p++;
            switch (c) {
            case 'b':
                raw += '\b';
                break;
            case 'f':
                raw += '\f';
                break;
            case 'n':
                raw += '\n';
                break;
            case 'r':
                raw += '\r';
                break;
            case 't':
                raw += '\t';
                break;
            case 'u': {
                char16_t unit = 0;
                for (int i = 0; i < 4 && m_p < m_end; ++i)
                    unit = char16_t(unit * 16 + hex(*m_p++));
                flush();
                out += QChar(unit);
                break;
            }
            default: // '"', '\\', '/'
                raw += c;
            }
        }
        flush();
        if (m_p < m_end)
            ++m_p; // the closing quote
        return out;
    }

    QString path(const QString &last) const
    {
        QString out = m_path.join(QString());
        if (last.startsWith(QLatin1Char('[')) || out.isEmpty())
            return out + last;
        return out + QLatin1Char('.') + last;
    }

    void value()
    {
        blanks();
        if (m_p >= m_end || m_found)
            return;
        switch (*m_p) {
        case '{':
            object();
            return;
        case '[':
            array();
            return;
        case '"':
            string();
            return;
        default:
            while (m_p < m_end && *m_p != ',' && *m_p != ']' && *m_p != '}' && *m_p != ' ' && *m_p != '\t' &&
                   *m_p != '\n' && *m_p != '\r')
                ++m_p;
        }
    }

    void object()
    {
        ++m_p;
        QSet<QString> keys;
        for (;;) {
            blanks();
            if (m_p >= m_end || m_found)
                return;
            if (*m_p == '}') {
                ++m_p;
                return;
            }
            if (*m_p == ',') {
                ++m_p;
                continue;
            }
            const QString key = string();
            blanks();
            if (m_p < m_end && *m_p == ':')
                ++m_p;
            const QString at = path(key);
            if (keys.contains(key)) {
                m_found = at;
                return;
            }
            keys.insert(key);
            m_path.append(m_path.isEmpty() ? key : QLatin1Char('.') + key);
            value();
            m_path.removeLast();
        }
    }

    void array()
    {
        ++m_p;
        qsizetype index = 0;
        for (;;) {
            blanks();
            if (m_p >= m_end || m_found)
                return;
            if (*m_p == ']') {
                ++m_p;
                return;
            }
            if (*m_p == ',') {
                ++m_p;
                ++index;
                continue;
            }
            m_path.append(QStringLiteral("[%1]").arg(index));
            value();
            m_path.removeLast();
        }
    }

    const char *m_p;
    const char *m_end;
    QStringList m_path;
    std::optional<QString> m_found;
};

} // namespace

std::optional<QString> repeatedKeyPath(const QByteArray &json) { return KeyWalk(json).run(); }

QJsonValue parseJsonText(const QByteArray &bytes, const QString &shown)
{
    // The parser would put replacement characters in place of broken bytes and go on.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    if (utf8.hasError()) {
        const qsizetype bad = decoded.indexOf(QChar::ReplacementCharacter);
        throw KorvanError(QStringLiteral("Файл «%1» не в кодировке UTF-8: неправильная последовательность байтов%2.")
                              .arg(shown, bad < 0 ? QString() : QStringLiteral(" (символ %1)").arg(bad + 1)));
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw KorvanError(QStringLiteral("Файл «%1» не является правильным JSON: %2 (позиция %3).")
                              .arg(shown, error.errorString(), QString::number(error.offset)));
    if (const auto repeated = repeatedKeyPath(bytes))
        throw KorvanError(QStringLiteral("Ошибка в «%1»: ключ указан дважды; оставьте одно значение.").arg(*repeated));
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}

} // namespace korvan::cli
