#include "app/CWebBrowser2.h"

#include <QPainter>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

CWebBrowser2::CWebBrowser2(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CWebBrowser2::~CWebBrowser2() = default;

void CWebBrowser2::ensureView()
{
    if (m_view)
        return;
    m_view = new QWebEngineView(this);
    m_view->setGeometry(rect());
    connect(m_view->page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            m_busy = true;
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            m_loaded = true;
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            m_loaded = false;
            break;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            // The page that was on show stays.
            break;
        }
        m_busy = false;
        emit loadEnded(m_loaded);
    });
    m_view->show();
}

void CWebBrowser2::GoBack()
{
    if (canGoBack())
        m_view->back();
}

void CWebBrowser2::GoForward()
{
    if (canGoForward())
        m_view->forward();
}

void CWebBrowser2::Navigate(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!url.isValid() || url.isEmpty())
        return;
    ensureView();
    emit beforeNavigate(url);
    m_view->load(url);
}

void CWebBrowser2::Refresh()
{
    if (m_view)
        m_view->reload();
}

void CWebBrowser2::Stop()
{
    if (m_view)
        m_view->stop();
}

QWebEnginePage* CWebBrowser2::Document() const
{
    return m_view && m_loaded ? m_view->page() : nullptr;
}

bool CWebBrowser2::canGoBack() const
{
    return m_view && m_view->history()->canGoBack();
}

bool CWebBrowser2::canGoForward() const
{
    return m_view && m_view->history()->canGoForward();
}

void CWebBrowser2::paintEvent(QPaintEvent*)
{
    // Before the first page: an empty white page.
    QPainter(this).fillRect(rect(), Qt::white);
}

void CWebBrowser2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_view)
        m_view->setGeometry(rect());
}
