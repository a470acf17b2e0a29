// Where the log lives: a file, or a PostgreSQL URI whose parts reach libpq as they are meant,
// never with a password, and shown to the user without one.
#include "production/LogPlace.h"

#include <gtest/gtest.h>

namespace {

TEST(LogPlace, AUriIsTakenApartAndAPasswordNeverGetsIn)
{
    const struct
    {
        const char *text;
        const char *shown; // the place as shown; nullptr: refused
        const char *error; // a part of the refusal
        const char *host;
        int port;
        const char *user;
        const char *database;
        const char *options;
    } cases[] = {
        {"/var/log/tolm.sqlite", "/var/log/tolm.sqlite", "", "", -1, "", "", ""},
        {"production.sqlite", "production.sqlite", "", "", -1, "", "", ""},
        {"postgresql://bench@db.example:6543/production?sslmode=verify-full",
         "postgresql://bench@db.example:6543/production?sslmode=verify-full", "", "db.example",
         6543, "bench", "production", "sslmode=verify-full"},
        {"postgres://db/prod", "postgresql://db/prod", "", "db", -1, "", "prod", ""},
        {"postgresql:///prod", "postgresql:///prod", "", "", -1, "", "prod", ""},
        {"postgresql:///prod?host=/run/postgresql&connect_timeout=2",
         "postgresql:///prod?host=/run/postgresql&connect_timeout=2", "", "/run/postgresql", -1, "",
         "prod", "connect_timeout=2"},
        {"postgresql://b%40x@db/prod", "postgresql://b%40x@db/prod", "", "db", -1, "b@x", "prod",
         ""},
        {"postgresql://bench:secret@db/prod", nullptr, "a password does not belong", "", 0, "", "",
         ""},
        {"postgresql://db/prod?password=secret", nullptr, "a password does not belong", "", 0, "",
         "", ""},
        {"postgresql://db/prod?sslmode=require;host=evil", nullptr, "cannot pass on", "", 0, "", "",
         ""},
        {"postgresql://db/prod?options=-c%20x", nullptr, "not a libpq keyword tolm takes", "", 0,
         "", "", ""},
        {"postgresql://db/a/b", nullptr, "takes postgresql://", "", 0, "", "", ""},
    };
    for (const auto &c : cases) {
        QString error;
        const auto place = ParseLogPlace(QString::fromLatin1(c.text), error);
        if (!c.shown) {
            EXPECT_FALSE(place.has_value()) << c.text;
            EXPECT_TRUE(error.contains(QLatin1String(c.error))) << error.toStdString();
            EXPECT_FALSE(error.contains("secret")) << error.toStdString();
            continue;
        }
        ASSERT_TRUE(place.has_value()) << c.text << ": " << error.toStdString();
        EXPECT_EQ(place->Shown().toStdString(), c.shown) << c.text;
        EXPECT_EQ(place->host.toStdString(), c.host) << c.text;
        EXPECT_EQ(place->port, c.port) << c.text;
        EXPECT_EQ(place->user.toStdString(), c.user) << c.text;
        EXPECT_EQ(place->database.toStdString(), c.database) << c.text;
        EXPECT_EQ(place->options.join('&').toStdString(), c.options) << c.text;
    }
}

TEST(LogPlace, APasswordIsMaskedWhereverItStandsAndTheOptionWins)
{
    const struct
    {
        const char *text;
        const char *masked;
    } cases[] = {
        {"postgresql://bench:secret@db/prod", "postgresql://bench:****@db/prod"},
        {"postgresql://:secret@db/prod", "postgresql://:****@db/prod"},
        {"postgresql://db/prod?sslmode=require&password=secret&x=1",
         "postgresql://db/prod?sslmode=require&password=****&x=1"},
        {"postgresql://db/prod?sslpassword=secret", "postgresql://db/prod?sslpassword=****"},
        {"/home/bench:secret@x/log.sqlite", "/home/bench:secret@x/log.sqlite"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MaskedLogPlaceText(QString::fromLatin1(c.text)).toStdString(), c.masked);

    EXPECT_EQ(ChooseLogPlaceText("a", "b", "c", "d"), "a");
    EXPECT_EQ(ChooseLogPlaceText("", "b", "c", "d"), "b");
    EXPECT_EQ(ChooseLogPlaceText(" ", "", "c", "d"), "c");
    EXPECT_EQ(ChooseLogPlaceText("", "", "", "d"), "d");
}

} // namespace
