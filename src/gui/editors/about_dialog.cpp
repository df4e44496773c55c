#include "gui/editors/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/platform/launchers.h"
#include "gui/platform/tray_icon_pictures.h"
#include "text/text_table.h"
#include "version.h"

namespace korvel {
namespace {

constexpr int kBoxIcon = 141;

const char* const kStyle = R"(
QDialog { background: #16181d; }
QLabel { color: #e4e6eb; }
QLabel#about_banquan { color: #9aa0aa; }
QPushButton#about_link { color: #27c4f5; background: transparent; border: none;
                         text-decoration: underline; text-align: left; padding: 0; }
QPushButton#about_link:hover { color: #7fdcfa; }
QPushButton { color: #e4e6eb; background: #23262e; border: 1px solid #3a3f4a;
              border-radius: 3px; padding: 4px 16px; min-width: 64px; }
QPushButton:hover { border-color: #27c4f5; }
QPushButton:pressed { background: #1b1d23; }
QPushButton:default { border-color: #27c4f5; }
)";

}  // namespace

CAboutDlg::CAboutDlg(const TextTable& texts, ShellLauncher& launcher, const QString& linkAddress,
                     QWidget* parent)
    : QDialog(parent), m_texts(texts), m_launcher(launcher), m_linkAddress(linkAddress) {
    setObjectName(QStringLiteral("about_box"));
    setStyleSheet(QString::fromLatin1(kStyle));
    setWindowIcon(KeyboardIcon(kBoxIcon));

    auto* picture = new QLabel(this);
    picture->setPixmap(DrawKeyboardIcon(kBoxIcon, 48));
    picture->setAlignment(Qt::AlignTop);

    m_intro = new QLabel(this);
    m_intro->setObjectName(QStringLiteral("about_jieshao"));
    m_intro->setProperty("controlId", int(IDC_ABOUT_JIESHAO));
    m_intro->setWordWrap(true);
    m_intro->setTextFormat(Qt::PlainText);

    m_copyright = new QLabel(this);
    m_copyright->setObjectName(QStringLiteral("about_banquan"));
    m_copyright->setProperty("controlId", int(IDC_ABOUT_BANQUAN));
    m_copyright->setWordWrap(true);
    m_copyright->setTextFormat(Qt::PlainText);

    // A button reads "&" as the mark of a shortcut letter; addresses carry it in their queries.
    m_link = new QPushButton(QString(m_linkAddress).replace(QLatin1Char('&'), QLatin1String("&&")),
                             this);
    m_link->setObjectName(QStringLiteral("about_link"));
    m_link->setProperty("controlId", int(IDC_ABOUT_LINK));
    m_link->setFlat(true);
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->setAutoDefault(false);
    m_link->setToolTip(m_linkAddress);
    connect(m_link, &QPushButton::clicked, this, &CAboutDlg::OpenLink);

    // It only tells: one button closes it (Esc too).
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    // A modeless box that is kept: accept and reject only hide it.
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* words = new QVBoxLayout;
    words->setSpacing(8);
    words->addWidget(m_intro);
    words->addWidget(m_copyright);
    auto* version = new QLabel(QStringLiteral("Korvel ") + QString::fromLatin1(kVersion), this);
    version->setObjectName(QStringLiteral("about_version"));
    words->addWidget(version);
    words->addWidget(m_link, 0, Qt::AlignLeft);
    words->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(words, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);

    setMinimumWidth(380);
    LoadTexts();
}

void CAboutDlg::ShowBox() {
    LoadTexts();
    show();
    raise();
    activateWindow();
}

void CAboutDlg::LoadTexts() {
    const Language language = m_texts.CaptionLanguage();
    auto text = [&](const char* key) {
        return QString::fromStdU16String(m_texts.ReadText(key, language));
    };
    setWindowTitle(text("MENU_3"));
    m_intro->setText(text("GUANYU_JIESHAO"));
    m_copyright->setText(text("GUANYU_BANQUAN"));
}

void CAboutDlg::OpenLink() {
    OpenLinkAddress(m_launcher, m_linkAddress);
}

}  // namespace korvel
