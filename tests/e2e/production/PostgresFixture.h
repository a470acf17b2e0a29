#pragma once

#include "ProductionFixture.h"

#include "production/LogPlace.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// The PostgreSQL server these tests use: the one pg_virtualenv made for this run (PGHOST,
// PGPORT, PGUSER, PGPASSWORD and PGDATABASE set), with a fresh database for each test.
class PostgresBench : public ProductionCli
{
protected:
    void SetUp() override
    {
        ProductionCli::SetUp();
        static int counter = 0;
        m_database = QStringLiteral("tolm_test_%1_%2").arg(::getpid()).arg(++counter);
        ASSERT_TRUE(Admin(QStringLiteral("CREATE DATABASE %1").arg(m_database)));
    }

    // The log's URI for this test's database; host, port and user come from the environment.
    QString Uri() const { return QStringLiteral("postgresql:///") + m_database; }

    // Runs a statement of the test's own; `database` empty: the server's maintenance one.
    bool Admin(const QString &statement, const QString &database = {}) const
    {
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "admin");
            db.setDatabaseName(database.isEmpty() ? qEnvironmentVariable("PGDATABASE") : database);
            ok = db.open() && QSqlQuery(db).exec(statement);
            if (!ok)
                ADD_FAILURE() << statement.toStdString() << ": "
                              << db.lastError().text().toStdString();
        }
        QSqlDatabase::removeDatabase("admin");
        return ok;
    }

    // One value a query gives in the test's database.
    QVariant Value(const QString &statement) const
    {
        QVariant value;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "probe");
            db.setDatabaseName(m_database);
            QSqlQuery query(db);
            if (db.open() && query.exec(statement) && query.next())
                value = query.value(0);
        }
        QSqlDatabase::removeDatabase("probe");
        return value;
    }

    // Stops or starts the server (pg_ctlcluster VERSION CLUSTER stop|start), the cluster found
    // by the port the environment names.
    void Server(const char *action) const
    {
        QProcess list;
        list.start("pg_lsclusters", {"-h"});
        ASSERT_TRUE(list.waitForFinished(10000));
        const QString port = qEnvironmentVariable("PGPORT");
        for (const QString &line : QString::fromUtf8(list.readAllStandardOutput()).split('\n')) {
            const QStringList fields = line.simplified().split(' ');
            if (fields.size() > 2 && fields[2] == port) {
                const int code = QProcess::execute("pg_ctlcluster", {fields[0], fields[1], action});
                ASSERT_EQ(code, 0) << action;
                return;
            }
        }
        FAIL() << "no cluster on port " << port.toStdString();
    }

    QString m_database;
};
