#include "uAktualizacia.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

QUrlQuery BuildUpdateQuery(const QString &userId, const QString &languageCode, bool automatic) {
    // QUrlQuery encodes "&", "=", "#", spaces and non-ASCII itself, but takes
    // "%" as the start of an escape and leaves "+", which a server reads as a
    // space: those two are encoded here.
    auto value = [](QString text) {
        return text.replace(QLatin1Char('%'), QStringLiteral("%25")).replace(QLatin1Char('+'), QStringLiteral("%2B"));
    };
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("uid"), value(userId));
    query.addQueryItem(QStringLiteral("build"), QString::number(OwnBuild));
    query.addQueryItem(QStringLiteral("lang"), value(languageCode));
    query.addQueryItem(QStringLiteral("auto"), automatic ? QStringLiteral("1") : QStringLiteral("0"));
    return query;
}

QUrl UpdateUrl(const QUrl &script, const QString &userId, const QString &languageCode, bool automatic) {
    QUrl url = script;
    url.setQuery(BuildUpdateQuery(userId, languageCode, automatic));
    return url;
}

bool ParseUpdateAnswer(const QByteArray &answer, quint16 &build) {
    qsizetype lineEnd = answer.indexOf('\n');
    if (lineEnd < 0)
        lineEnd = answer.size();
    const QByteArray line = answer.left(lineEnd).trimmed();
    build = 0;
    if (line.isEmpty())
        return true;
    // The number ends at a blank; what follows it on the line is not read.
    qsizetype end = 0;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t')
        ++end;
    bool ok = false;
    const qint32 value = line.left(end).toInt(&ok, 10);
    if (!ok)
        return false;
    build = quint16(quint32(value) & 0xFFFFu);
    return true;
}

TUpdateResult UpdateResultOf(const QByteArray &answer) {
    quint16 build = 0;
    if (!ParseUpdateAnswer(answer, build))
        return TUpdateResult::Failed;
    return build > OwnBuild ? TUpdateResult::Newer : TUpdateResult::Latest;
}

TUpdateCheck::TUpdateCheck(const QUrl &url, int timeoutMs, QObject *parent)
    : QObject(parent), m_url(url), m_timeoutMs(timeoutMs), m_manager(new QNetworkAccessManager(this)),
      m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_reply)
            m_reply->abort(); // ends in ReplyFinished with an error
    });
}

TUpdateCheck::~TUpdateCheck() {
    if (m_reply) {
        // Cancelled, not reported: whoever waited for it is going away.
        m_reply->disconnect(this);
        m_reply->abort();
        delete m_reply.data();
    }
}

void TUpdateCheck::Start() {
    if (m_running)
        return;
    m_running = true;
    const QString scheme = m_url.scheme();
    if (!m_url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        QTimer::singleShot(0, this, [this] { Finish(TUpdateResult::Failed); });
        return;
    }
    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::finished, this, &TUpdateCheck::ReplyFinished);
    m_timer->start(m_timeoutMs);
}

void TUpdateCheck::ReplyFinished() {
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_timer->stop();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool ok = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
    const QByteArray answer = ok ? reply->readAll() : QByteArray();
    m_reply = nullptr;
    reply->deleteLater();
    Finish(ok ? UpdateResultOf(answer) : TUpdateResult::Failed);
}

void TUpdateCheck::Finish(TUpdateResult result) {
    if (!m_running)
        return;
    m_running = false;
    emit Finished(result);
}
