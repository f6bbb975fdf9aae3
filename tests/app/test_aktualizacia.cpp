// The update check: the answer's first line, the query, and whole checks
// against a local server.
#include "AppTestSupport.h"
#include "LocalHttpServer.h"
#include "uAktualizacia.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A query as a PHP-style server reads it: "+" is a space, %XX a byte.
QMap<QString, QString> ServerReads(const QByteArray &target) {
    QMap<QString, QString> fields;
    const QByteArray query = target.mid(target.indexOf('?') + 1);
    for (QByteArray pair : query.split('&')) {
        pair.replace('+', ' ');
        const qsizetype eq = pair.indexOf('=');
        fields.insert(QString::fromUtf8(QByteArray::fromPercentEncoding(pair.left(eq))),
                      QString::fromUtf8(QByteArray::fromPercentEncoding(pair.mid(eq + 1))));
    }
    return fields;
}

// Runs one check against url and returns its result.
TUpdateResult Check(const QUrl &url, int timeoutMs = UpdateTimeoutMs) {
    TUpdateCheck check(url, timeoutMs);
    QSignalSpy finished(&check, &TUpdateCheck::Finished);
    check.Start();
    EXPECT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.size(), 1);
    return finished.isEmpty() ? TUpdateResult::Failed : finished.first().first().value<TUpdateResult>();
}

} // namespace

TEST(UpdateAnswer, TheFirstLineNamesTheNewestBuildInSixteenBits) {
    struct Case {
        const char *answer;
        bool read;
        quint16 build;
        TUpdateResult result;
    };
    const Case cases[] = {
        {"13", true, 13, TUpdateResult::Newer},
        {"12\r\nBuild 12 is the newest\r\n", true, 12, TUpdateResult::Latest},
        {"65549", true, 13, TUpdateResult::Newer}, // 65536 + 13
        {"-1", true, 65535, TUpdateResult::Newer},
        {"  14 \n", true, 14, TUpdateResult::Newer},
        {"", true, 0, TUpdateResult::Latest},
        {"13abc", false, 0, TUpdateResult::Failed},
        {"99999999999", false, 0, TUpdateResult::Failed}, // no 32-bit integer
    };
    for (const Case &c : cases) {
        quint16 build = 999;
        EXPECT_EQ(ParseUpdateAnswer(c.answer, build), c.read) << c.answer;
        if (c.read) {
            EXPECT_EQ(build, c.build) << c.answer;
        }
        EXPECT_EQ(UpdateResultOf(c.answer), c.result) << c.answer;
    }
}

TEST(UpdateQuery, EveryValueReachesTheServerAsItWas) {
    const QString uid = QStringLiteral("26 12&lang=xx+1#é%41%");
    const QUrl url =
        UpdateUrl(QUrl(QStringLiteral("https://tarbelon.example/updateinfo.php")), uid, QStringLiteral("s&"), false);
    EXPECT_EQ(url.host(), "tarbelon.example");
    EXPECT_EQ(url.path(), "/updateinfo.php");
    const QByteArray target = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    const QMap<QString, QString> fields = ServerReads(target);
    EXPECT_EQ(fields.keys(), QStringList({"auto", "build", "lang", "uid"}));
    EXPECT_EQ(S(fields["uid"]), S(uid));
    EXPECT_EQ(S(fields["build"]), "12");
    EXPECT_EQ(S(fields["lang"]), "s&");
    EXPECT_EQ(S(fields["auto"]), "0");
    EXPECT_TRUE(target.startsWith("/updateinfo.php?uid=")); // the fields in their order
    EXPECT_EQ(S(BuildUpdateQuery("1", "en", true).queryItemValue("auto")), "1");
}

TEST(UpdateCheck, OnlyATwoHundredAnswerWithANumberCounts) {
    // How the body reads is UpdateAnswer's table; here the server's side.
    struct Case {
        const char *what;
        QByteArray answer;
        TUpdateResult result;
    };
    const Case cases[] = {
        {"13", TLocalHttpServer::Http(200, "13\r\n"), TUpdateResult::Newer},
        {"abc", TLocalHttpServer::Http(200, "abc"), TUpdateResult::Failed},
        {"404 with a number", TLocalHttpServer::Http(404, "13"), TUpdateResult::Failed},
    };
    for (const Case &c : cases) {
        TLocalHttpServer server;
        server.Answer = c.answer;
        EXPECT_EQ(Check(UpdateUrl(server.Url(), "id", "en", true)), c.result) << c.what;
        ASSERT_EQ(server.Targets.size(), 1) << c.what;
        EXPECT_EQ(S(ServerReads(server.Targets[0])["auto"]), "1");
    }
}

TEST(UpdateCheck, AServerThatNeverAnswersEndsInAFailureAtTheTimeLimit) {
    TLocalHttpServer server; // reads and keeps silent
    EXPECT_EQ(Check(server.Url(), 300), TUpdateResult::Failed);
    EXPECT_EQ(server.Targets.size(), 1);
}

TEST(UpdateCheck, NoAddressFailsWithoutARequestAndDeletingCancels) {
    EXPECT_EQ(Check(QUrl()), TUpdateResult::Failed);
    EXPECT_EQ(Check(QUrl(QStringLiteral("file:///etc/hostname"))), TUpdateResult::Failed);

    // A check deleted while it waits says nothing more.
    TLocalHttpServer server;
    auto *check = new TUpdateCheck(server.Url());
    QSignalSpy finished(check, &TUpdateCheck::Finished);
    check->Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !server.Targets.isEmpty(); }, 10000));
    delete check;
    EXPECT_TRUE(finished.isEmpty());
}
