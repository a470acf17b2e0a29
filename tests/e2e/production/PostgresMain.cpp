// The PostgreSQL tests run only against a server made for them (pg_virtualenv sets PGHOST,
// PGPORT, PGUSER, PGPASSWORD and PGDATABASE): anywhere else they are reported as skipped, with
// the reason, never as passed.
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

// What keeps the tests from running here; empty when a server is there for them.
QString WhyNoServer()
{
    for (const char *variable : {"PGHOST", "PGPORT", "PGDATABASE", "PGUSER"}) {
        if (qEnvironmentVariableIsEmpty(variable))
            return QStringLiteral("%1 is not set: no throwaway PostgreSQL cluster (pg_virtualenv, "
                                  "package postgresql-common)")
                .arg(QLatin1String(variable));
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("the Qt PostgreSQL driver is not installed (libqt6sql6-psql)");
    QString why;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "check");
        if (!db.open())
            why = QStringLiteral("the server cannot be reached: ") + db.lastError().text();
    }
    QSqlDatabase::removeDatabase("check");
    return why;
}

} // namespace

// The exit code CTest reads as "skipped" (SKIP_RETURN_CODE).
constexpr int kSkipped = 77;

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || QByteArray(argv[i]).startsWith("--gtest_list_tests");
    {
        QCoreApplication app(argc, argv);
        const QString why = listing ? QString() : WhyNoServer();
        if (!why.isEmpty()) {
            std::printf("skipped: %s\n", qPrintable(why));
            return kSkipped;
        }
    }
    return RUN_ALL_TESTS();
}
