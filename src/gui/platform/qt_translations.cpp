#include "gui/platform/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace korvel {

QtTranslations::QtTranslations(QString folder) : m_folder(std::move(folder)) {
    if (m_folder.isEmpty()) {
        m_folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    }
}

QtTranslations::~QtTranslations() {
    Follow(1);
}

bool QtTranslations::Follow(int language) {
    if (language != 0) {
        if (m_translator) {
            QCoreApplication::removeTranslator(m_translator.get());
            m_translator.reset();
        }
        return true;
    }
    if (m_translator) {
        return true;
    }
    auto translator = std::make_unique<QTranslator>();
    // Debian ships it in qt6-translations-l10n; without it Qt's texts stay English.
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), m_folder)) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    return true;
}

bool QtTranslations::Installed() const {
    return m_translator != nullptr;
}

}  // namespace korvel
