#pragma once

#include "framework/Colors.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <optional>

class QDBusPendingCallWatcher;

// The colour of a successful PickColor answer: the results' "color" entry, a (ddd) structure of
// red, green and blue from 0 to 1. Empty when the entry is missing or not of that shape.
std::optional<TColor> PortalResultColor(const QVariantMap &results);

// Whether a call's error means nobody on the bus answers for the portal's interface or method.
bool PortalErrorMeansNoPortal(const QString &errorName);

// The request object path the portal will use for a handle_token of this sender (a unique bus
// name such as ":1.42").
QString PortalRequestPath(const QString &uniqueName, const QString &token);

// One PickColor request to the desktop portal: the call, then the Response signal of the
// org.freedesktop.portal.Request object it names. Nothing blocks; Finished is emitted once.
// The same request asks for a Screenshot when given that method and its options; then Picked
// means the portal answered with results (Results()), whatever they hold.
class TPortalColorRequest : public QObject {
    Q_OBJECT
public:
    enum class TOutcome { Picked, Cancelled, Failed, NoPortal };
    Q_ENUM(TOutcome)

    // parentWindow: the portal's parent window identifier ("x11:<hex id>"), or empty.
    TPortalColorRequest(QDBusConnection bus, QString parentWindow, QObject *parent = nullptr,
                        QString method = QStringLiteral("PickColor"), QVariantMap options = {});
    ~TPortalColorRequest() override;
    void Start();
    // The results of the portal's answer.
    const QVariantMap &Results() const { return FResults; }

signals:
    // color is meaningful for Picked only.
    void Finished(TPortalColorRequest::TOutcome outcome, TColor color);

private slots:
    void CallFinished(QDBusPendingCallWatcher *watcher);
    void Response(uint response, const QVariantMap &results);

private:
    void Listen(const QString &path);
    void StopListening();
    void Finish(TOutcome outcome, TColor color = 0);

    QDBusConnection FBus;
    QString FParentWindow;
    QString FPath;
    QString FMethod;
    QVariantMap FOptions;
    QVariantMap FResults;
    bool FDone = false;
};
