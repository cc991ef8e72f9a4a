#include "app/CSelectBookmarkDlg.h"

#include "app/UiText.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kGroupId = 459;

}  // namespace

CSelectBookmarkDlg::CSelectBookmarkDlg(bool rightFirst, QWidget* parent) : CSkinDialog(parent)
{
    setModal(true);
    auto* group = new QGroupBox(ui::textOr(ui::kControlText + kGroupId, "Select Bookmark"), this);
    group->setGeometry(16, 38, 238, 76);
    auto* layout = new QVBoxLayout(group);
    m_left = new QRadioButton(ui::textOr(ui::kControlText + kLeftId, "Delete the left bookmark"), group);
    m_right = new QRadioButton(ui::textOr(ui::kControlText + kRightId, "Delete the right bookmark"), group);
    m_left->setObjectName(QString::number(kLeftId));
    m_right->setObjectName(QString::number(kRightId));
    layout->addWidget(m_left);
    layout->addWidget(m_right);
    (rightFirst ? m_right : m_left)->setChecked(true);
    setFixedSize(270, 160);
    SetUp(ui::text(4010), true, true, true, true, QString(), QString());
    (rightFirst ? m_right : m_left)->setFocus();
}

bool CSelectBookmarkDlg::rightChosen() const
{
    return m_right->isChecked();
}
