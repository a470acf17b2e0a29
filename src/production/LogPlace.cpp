#include "production/LogPlace.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

// libpq's keywords a URI may carry. A password or a password-bearing keyword is not among
// them: the password comes from libpq's own places only.
const QStringList kAllowedKeywords = {
    QStringLiteral("sslmode"),
    QStringLiteral("sslrootcert"),
    QStringLiteral("sslcert"),
    QStringLiteral("sslkey"),
    QStringLiteral("sslcrl"),
    QStringLiteral("sslcompression"),
    QStringLiteral("sslsni"),
    QStringLiteral("requiressl"),
    QStringLiteral("connect_timeout"),
    QStringLiteral("application_name"),
    QStringLiteral("host"),
    QStringLiteral("hostaddr"),
    QStringLiteral("port"),
    QStringLiteral("user"),
    QStringLiteral("dbname"),
    QStringLiteral("passfile"),
    QStringLiteral("service"),
    QStringLiteral("target_session_attrs"),
    QStringLiteral("gssencmode"),
    QStringLiteral("channel_binding"),
    QStringLiteral("keepalives"),
    QStringLiteral("keepalives_idle"),
    QStringLiteral("keepalives_interval"),
    QStringLiteral("keepalives_count"),
    QStringLiteral("tcp_user_timeout"),
    QStringLiteral("krbsrvname"),
};

// Values the driver passes on inside its connection string without quoting: no blanks, no
// quotes, no separators.
bool PlainValue(const QString &value)
{
    static const QRegularExpression plain(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9_./:@+-]+")));
    return plain.match(value).hasMatch();
}

bool ApplyKeyword(LogPlace &place, const QString &key, const QString &value, QString &error)
{
    if (!kAllowedKeywords.contains(key)) {
        error = key.contains(QLatin1String("password"))
                    ? QStringLiteral("a password does not belong in the log's URI; give it in "
                                     "~/.pgpass, PGPASSFILE or PGPASSWORD")
                    : QStringLiteral("the log's URI names '%1', which is not a libpq keyword "
                                     "tolm takes")
                          .arg(key);
        return false;
    }
    if (!PlainValue(value)) {
        error = QStringLiteral("the value of '%1' in the log's URI holds characters tolm cannot "
                               "pass on")
                    .arg(key);
        return false;
    }
    if (key == QLatin1String("host"))
        place.host = value;
    else if (key == QLatin1String("port"))
        place.port = value.toInt();
    else if (key == QLatin1String("user"))
        place.user = value;
    else if (key == QLatin1String("dbname"))
        place.database = value;
    else
        place.options << key + QLatin1Char('=') + value;
    return true;
}

} // namespace

bool IsPostgresUri(const QString &text)
{
    return text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString LogPlace::Shown() const
{
    if (kind == Kind::File)
        return path;
    const auto encoded = [](const QString &text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text));
    };
    QString shown = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        shown += encoded(user) + QLatin1Char('@');
    // A socket folder cannot stand where a host name does; it goes into the query.
    const bool socketFolder = host.startsWith(QLatin1Char('/'));
    if (!socketFolder)
        shown +=
            host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    if (port > 0)
        shown += QLatin1Char(':') + QString::number(port);
    shown += QLatin1Char('/') + encoded(database);
    QStringList query = options;
    if (socketFolder)
        query.prepend(QStringLiteral("host=") + host);
    if (!query.isEmpty())
        shown += QLatin1Char('?') + query.join(QLatin1Char('&'));
    return shown;
}

std::optional<LogPlace> ParseLogPlace(const QString &text, QString &error)
{
    LogPlace place;
    if (!IsPostgresUri(text)) {
        place.path = text;
        return place;
    }
    place.kind = LogPlace::Kind::Postgres;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        error = QStringLiteral("the log's URI cannot be read: %1").arg(url.errorString());
        return std::nullopt;
    }
    if (!url.password().isEmpty()) {
        error = QStringLiteral("a password does not belong in the log's URI; give it in "
                               "~/.pgpass, PGPASSFILE or PGPASSWORD");
        return std::nullopt;
    }
    if (url.hasFragment() || url.path().count(QLatin1Char('/')) > 1) {
        error = QStringLiteral("the log's URI takes postgresql://[user@]host[:port]/dbname"
                               "[?keyword=value...]");
        return std::nullopt;
    }
    place.user = url.userName();
    place.host = url.host();
    place.port = url.port(-1);
    place.database = url.path().mid(1);
    for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (!ApplyKeyword(place, key, value, error))
            return std::nullopt;
    }
    return place;
}

QString ChooseLogPlaceText(const QString &option, const QString &environment,
                           const QString &settings, const QString &defaultPath)
{
    for (const QString &text : {option, environment, settings}) {
        if (!text.trimmed().isEmpty())
            return text.trimmed();
    }
    return defaultPath;
}

QString MaskedLogPlaceText(const QString &text)
{
    if (!IsPostgresUri(text))
        return text;
    // Masked on the text itself, not on a parsed URL: the text may be one no parser takes.
    static const QRegularExpression userinfoPassword(
        QStringLiteral("^([a-zA-Z]+://[^/@:]*):[^/@]*@"));
    static const QRegularExpression queryPassword(
        QStringLiteral("([?&][^=&]*password[^=&]*=)[^&]*"),
        QRegularExpression::CaseInsensitiveOption);
    return QString(text)
        .replace(userinfoPassword, QStringLiteral("\\1:****@"))
        .replace(queryPassword, QStringLiteral("\\1****"));
}
