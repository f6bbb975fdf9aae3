// The update check: asks the maker's web server for the newest build and
// compares it with our own. The request runs asynchronously; the answer is
// kept in memory; only a 2xx answer counts, and a server that does not
// answer within the time limit counts as a failed check.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QUrlQuery>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// The program's own build, sent with the query and compared with the answer.
inline constexpr quint16 OwnBuild = 12;
// The script on the maker's web server that names the newest build.
inline constexpr char UpdateInfoAddress[] = "https://tarbelon.example/updateinfo.php";
// How long a check may take, in milliseconds.
inline constexpr int UpdateTimeoutMs = 5000;

// The query: uid, build, lang and auto (1 for the check at start, 0 from
// the menu), every value percent-encoded.
QUrlQuery BuildUpdateQuery(const QString &userId, const QString &languageCode, bool automatic);
// The script's address with that query.
QUrl UpdateUrl(const QUrl &script, const QString &userId, const QString &languageCode, bool automatic);

// The newest build that an answer names on its first line, as its low 16
// bits (65549 is 13, -1 is 65535); an empty answer names build 0. False when
// the first line holds something that is no 32-bit integer.
bool ParseUpdateAnswer(const QByteArray &answer, quint16 &build);

enum class TUpdateResult { Newer, Latest, Failed };

// What an answer means for our build.
TUpdateResult UpdateResultOf(const QByteArray &answer);

// One check: Start() sends the request; Finished() comes exactly once, on
// the thread of the object, also for a failure or the time limit. Deleting
// the object cancels a request still running.
class TUpdateCheck : public QObject {
    Q_OBJECT
public:
    explicit TUpdateCheck(const QUrl &url, int timeoutMs = UpdateTimeoutMs, QObject *parent = nullptr);
    ~TUpdateCheck() override;

    void Start();
    bool IsRunning() const { return m_running; }

signals:
    void Finished(TUpdateResult result);

private:
    void Finish(TUpdateResult result);
    void ReplyFinished();

    QUrl m_url;
    int m_timeoutMs;
    bool m_running = false;
    QNetworkAccessManager *m_manager;
    QPointer<QNetworkReply> m_reply;
    QTimer *m_timer;
};
