#include "gui/editors/profile_file_chooser.h"

#include <QFileDialog>

#include "model/files/profile_file_name.h"

namespace korvel {
namespace {

QString Q(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

std::filesystem::path P(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

const QString kFilter = QStringLiteral("(*.kvp);;(*)");

}  // namespace

std::optional<std::filesystem::path> QtProfileFileChooser::ChooseNewFile(
    QWidget* parent, const std::filesystem::path& suggested) {
    QFileDialog dialog(parent, QString(), Q(suggested), kFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("kvp"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return WithProfileExtension(P(dialog.selectedFiles().first()));
}

std::optional<std::filesystem::path> QtProfileFileChooser::ChooseExistingFile(
    QWidget* parent, const std::filesystem::path& folder) {
    QFileDialog dialog(parent, QString(), Q(folder), kFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return P(dialog.selectedFiles().first());
}

}  // namespace korvel
