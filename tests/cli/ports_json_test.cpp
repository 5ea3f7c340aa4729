// relcon4-cli ports --json: a simulated unit's port, registered as a link in
// the port map, comes out as JSON a script can read.
#include "support/test_env.h"

#include "ro4d_unit.h"
#include "sim_server.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

TEST(CliPortsTest, JsonListsEachPortWithItsDevice) {
    sim::SimServer server(std::make_unique<sim::Ro4dUnit>());
    const QString com = server.start();
    ASSERT_FALSE(com.isEmpty());
    QProcess p;
    p.start(testenv::BinaryDir() + QStringLiteral("/relcon4-cli"), {"ports", "--json"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_TRUE(doc.isArray());
    QJsonObject entry;
    for (const QJsonValue& v : doc.array())
        if (v.toObject().value(QStringLiteral("port")).toString() == com)
            entry = v.toObject();
    EXPECT_TRUE(entry.value(QStringLiteral("link")).toBool());
    EXPECT_TRUE(entry.value(QStringLiteral("device")).toString().startsWith(QStringLiteral("/")));
    EXPECT_TRUE(
        entry.value(QStringLiteral("details")).toString().contains(QStringLiteral("/dev/pts/")))
        << entry.value(QStringLiteral("details")).toString().toStdString();
    server.stop();
}
