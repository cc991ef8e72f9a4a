// The web control of the browser panel: a thin wrapper of Qt WebEngine's view
// offering the operations the panel is written in (GoBack, GoForward,
// Navigate, Refresh, Stop, Document, Busy). The engine starts with the first
// navigation, so a reader who never browses never starts it.
#pragma once

#include <QWidget>

class QUrl;
class QWebEnginePage;
class QWebEngineView;

class CWebBrowser2 : public QWidget {
    Q_OBJECT

public:
    explicit CWebBrowser2(QWidget* parent = nullptr);
    ~CWebBrowser2() override;

    void GoBack();
    void GoForward();
    // An address as typed: a URL, a host name or a local path. One that
    // names nothing is not followed.
    void Navigate(const QString& address);
    void Refresh();
    void Stop();
    // The page on show; null while none has loaded.
    QWebEnginePage* Document() const;
    // Whether a page is loading.
    bool Busy() const { return m_busy; }

    bool canGoBack() const;
    bool canGoForward() const;
    // The engine's view; null before the first navigation.
    QWebEngineView* view() const { return m_view; }

signals:
    // A navigation to the address is about to start.
    void beforeNavigate(const QUrl& url);
    // A load ended: with a page on show (true) or without one.
    void loadEnded(bool loaded);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ensureView();

    QWebEngineView* m_view = nullptr;
    bool m_busy = false;
    bool m_loaded = false;
};
