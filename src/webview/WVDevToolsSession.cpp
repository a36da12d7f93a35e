#include "webview/WVDevToolsSession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {
const QString AnswerPrefix = QStringLiteral("orbwell-devtools:");

// Answers to the session's own commands (numbered from 10^9 up) are taken out of the front end's
// stream before it sees them and handed to the console, where the session reads them.
const QString HookScript = QStringLiteral(R"JS(
(() => {
  if (typeof DevToolsHost === 'undefined' || typeof DevToolsAPI === 'undefined'
      || typeof DevToolsAPI.dispatchMessage !== 'function')
    return false;
  if (!window.orbwellHooked) {
    window.orbwellHooked = true;
    const original = DevToolsAPI.dispatchMessage.bind(DevToolsAPI);
    DevToolsAPI.dispatchMessage = message => {
      const text = typeof message === 'string' ? message : JSON.stringify(message);
      let id = 0;
      try { id = JSON.parse(text).id || 0; } catch (e) {}
      if (id >= 1000000000) { console.log('%1' + text); return; }
      return original(message);
    };
  }
  return true;
})()
)JS").arg(AnswerPrefix);

const QString SendScript = QStringLiteral(
    "DevToolsHost.sendMessageToEmbedder(JSON.stringify({id: 0, method: 'dispatchProtocolMessage', params: [%1]}))");

// The front end's console: the session's answers, and nothing of the front end's own chatter.
class TFrontendPage : public QWebEnginePage
{
public:
    TFrontendPage(QWebEngineProfile *profile, QObject *parent, std::function<void(const QString &)> answer)
        : QWebEnginePage(profile, parent), FAnswer(std::move(answer))
    {
    }

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int, const QString &) override
    {
        if (message.startsWith(AnswerPrefix))
            FAnswer(message.mid(AnswerPrefix.size()));
    }

private:
    std::function<void(const QString &)> FAnswer;
};
} // namespace

TWVDevToolsSession::TWVDevToolsSession(QWebEngineProfile *profile, QObject *owner) : QObject(owner), FProfile(profile)
{
    FCommandTimer.setSingleShot(true);
    FCommandTimer.setInterval(30000);
    connect(&FCommandTimer, &QTimer::timeout, this, [this] {
        // A session that stopped answering is not trusted with the next command either.
        FailAll(FState == dtsOpening ? QStringLiteral("the developer tools did not open")
                                     : QStringLiteral("the developer tools did not answer"));
    });
    FIdleTimer.setSingleShot(true);
    FIdleTimer.setInterval(3000);
    connect(&FIdleTimer, &QTimer::timeout, this, [this] {
        if (FQueue.isEmpty() && !FBusy)
            Close();
    });
}

TWVDevToolsSession::~TWVDevToolsSession()
{
    FQueue.clear();
    Close(true);
    // Pages of an earlier session whose deferred deletion has not come yet go before their profiles.
    qDeleteAll(findChildren<QWebEnginePage *>(QString(), Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<QWebEngineProfile *>(QString(), Qt::FindDirectChildrenOnly));
}

void TWVDevToolsSession::Send(const QString &method, const QJsonObject &params, QObject *context, TDone done)
{
    TCommand command;
    command.Id = FNextId++;
    command.Method = method;
    command.Params = params;
    command.Context = context;
    command.Done = std::move(done);
    FQueue.append(command);
    FIdleTimer.stop();
    // Even a command that fails at once answers after Send has returned.
    QMetaObject::invokeMethod(this, [this] {
        if (FState == dtsClosed)
            Open();
        else if (FState == dtsReady)
            SendNext();
    }, Qt::QueuedConnection);
}

void TWVDevToolsSession::Open()
{
    if (FState != dtsClosed || FQueue.isEmpty())
        return;
    if (!FProfile) {
        FailAll(QStringLiteral("the profile is gone"));
        return;
    }
    FState = dtsOpening;
    FCommandTimer.start(); // the front end must load within the same time a command may take
    // The front end keeps settings of its own; an off-the-record profile keeps them out of the user's.
    auto *frontendProfile = new QWebEngineProfile(this);
    // Answers are taken after the console call has returned, since one may end the session and its pages.
    FFrontend = new TFrontendPage(frontendProfile, this, [this](const QString &message) {
        QMetaObject::invokeMethod(this, [this, message] { Answer(message); }, Qt::QueuedConnection);
    });
    FInspected = new QWebEnginePage(FProfile, this);
    connect(FFrontend, &QWebEnginePage::loadFinished, this, [this](bool ok) { FrontendLoaded(ok); });
    // A page with a document of its own: the front end expects the inspected page to have one.
    FInspected->setHtml(QStringLiteral("<!DOCTYPE html><title></title>"));
    FInspected->setDevToolsPage(FFrontend);
}

void TWVDevToolsSession::FrontendLoaded(bool ok)
{
    if (FState != dtsOpening)
        return;
    if (!ok) {
        FailAll(QStringLiteral("the developer tools could not be loaded"));
        return;
    }
    QPointer<TWVDevToolsSession> self(this);
    FFrontend->runJavaScript(HookScript, [self](const QVariant &hooked) {
        if (!self || self->FState != dtsOpening)
            return;
        if (!hooked.toBool()) {
            self->FailAll(QStringLiteral("the developer tools offer no protocol channel"));
            return;
        }
        self->FState = dtsReady;
        self->SendNext();
    });
}

void TWVDevToolsSession::SendNext()
{
    if (FState != dtsReady || FBusy)
        return;
    // Nobody waits for a command whose asker is gone.
    while (!FQueue.isEmpty() && !FQueue.constFirst().Context)
        FQueue.removeFirst();
    if (FQueue.isEmpty()) {
        FIdleTimer.start();
        return;
    }
    FBusy = true;
    const TCommand &command = FQueue.constFirst();
    const QJsonObject message{{QStringLiteral("id"), command.Id},
                              {QStringLiteral("method"), command.Method},
                              {QStringLiteral("params"), command.Params}};
    // The message travels as a JSON string inside the front end's own JSON envelope.
    const QString quoted = QString::fromUtf8(
        QJsonDocument(QJsonArray{QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact))})
            .toJson(QJsonDocument::Compact));
    FCommandTimer.start();
    FFrontend->runJavaScript(SendScript.arg(quoted.mid(1, quoted.size() - 2)));
}

void TWVDevToolsSession::Answer(const QString &message)
{
    if (!FBusy || FQueue.isEmpty())
        return;
    const QJsonObject answer = QJsonDocument::fromJson(message.toUtf8()).object();
    if (answer.value(QStringLiteral("id")).toInteger() != FQueue.constFirst().Id)
        return;
    if (answer.contains(QStringLiteral("error"))) {
        const QJsonObject error = answer.value(QStringLiteral("error")).toObject();
        Finish(false, error.value(QStringLiteral("message")).toString(QStringLiteral("the command failed")));
    } else {
        Finish(true, QString());
    }
}

void TWVDevToolsSession::Finish(bool ok, const QString &error)
{
    FCommandTimer.stop();
    FBusy = false;
    if (FQueue.isEmpty())
        return;
    const TCommand command = FQueue.takeFirst();
    QPointer<TWVDevToolsSession> self(this);
    if (command.Context && command.Done)
        command.Done(ok, ok ? QString() : command.Method + QStringLiteral(": ") + error);
    if (self)
        SendNext();
}

void TWVDevToolsSession::FailAll(const QString &error)
{
    FCommandTimer.stop();
    FBusy = false;
    Close();
    QPointer<TWVDevToolsSession> self(this);
    const QList<TCommand> failed = std::exchange(FQueue, {});
    for (const TCommand &command : failed) {
        if (!self)
            return;
        if (command.Context && command.Done)
            command.Done(false, command.Method + QStringLiteral(": ") + error);
    }
}

void TWVDevToolsSession::Close(bool now)
{
    FIdleTimer.stop();
    FState = dtsClosed;
    QWebEnginePage *inspected = std::exchange(FInspected, nullptr);
    QWebEnginePage *frontend = std::exchange(FFrontend, nullptr);
    QWebEngineProfile *frontendProfile = frontend ? frontend->profile() : nullptr;
    if (inspected)
        inspected->setDevToolsPage(nullptr);
    // Pages go before their profiles. Outside the destructor this may run inside a signal of one of
    // these pages, so they go once control is back in the event loop, in this order.
    for (QObject *object : {static_cast<QObject *>(inspected), static_cast<QObject *>(frontend),
                            static_cast<QObject *>(frontendProfile)}) {
        if (!object)
            continue;
        if (now)
            delete object;
        else
            object->deleteLater();
    }
}
