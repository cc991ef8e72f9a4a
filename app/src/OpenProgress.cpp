#include "app/OpenProgress.h"

#include "app/UiText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

#include <chrono>

namespace {

constexpr int kSteps = 1000;

int64_t steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

OpenProgress::OpenProgress(std::function<QWidget*()> parent, std::function<int64_t()> clock)
    : m_parent(std::move(parent)), m_clock(clock ? std::move(clock) : steadyMilliseconds)
{
}

OpenProgress::~OpenProgress() = default;

QProgressDialog* OpenProgress::dialog() const
{
    return m_dialog.get();
}

void OpenProgress::begin(const std::string& path)
{
    if (m_startedAt < 0) {
        m_startedAt = m_clock();
        m_stopped = false;
    }
    const QString name = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
    m_label = ui::text(4451, name);
    if (m_dialog) {
        m_dialog->setLabelText(m_label);
        m_dialog->setRange(0, kSteps);
        m_dialog->setValue(0);
    }
}

void OpenProgress::show()
{
    m_dialog = std::make_unique<QProgressDialog>(m_label, ui::text(3291), 0, kSteps, m_parent ? m_parent() : nullptr);
    m_dialog->setWindowTitle(ui::text(4450));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setMinimumWidth(360);
    m_dialog->show();
}

bool OpenProgress::update(double done)
{
    if (m_stopped || m_startedAt < 0)
        return !m_stopped;
    const int64_t now = m_clock();
    if (!m_dialog) {
        if (now - m_startedAt < kShowAfterMs)
            return true;
        show();
        m_pumpedAt = now - kPumpEveryMs;
    }
    if (now - m_pumpedAt < kPumpEveryMs)
        return true;
    m_pumpedAt = now;
    if (done < 0) {
        // A helper program at work: the bar just shows that something goes on.
        m_dialog->setRange(0, 0);
    } else {
        m_dialog->setRange(0, kSteps);
        m_dialog->setValue(static_cast<int>(done * kSteps));
    }
    QCoreApplication::processEvents();
    if (m_dialog->wasCanceled())
        m_stopped = true;
    return !m_stopped;
}

void OpenProgress::end()
{
    m_dialog.reset();
    m_startedAt = -1;
    m_stopped = false;
}
