#include "PictureChooser.h"

#include "BookPicture.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace {

constexpr int PreviewWidth = 200;
constexpr int PreviewHeight = 140;

void ShowPreview(QLabel& preview, const QString& file) {
    const QFileInfo info(file);
    std::optional<QImage> picture;
    if (info.isFile())
        picture = LoadBookPicture(file);
    if (picture)
        preview.setPixmap(QPixmap::fromImage(picture->scaled(
            PreviewWidth, PreviewHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    else
        preview.setText(info.isFile() ? QStringLiteral("无法显示") : QString());
}

} // namespace

std::optional<std::string> ChooseBookPicture(const std::string& current, QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("背景图片"),
                       QFileInfo(QString::fromStdString(current)).absolutePath(),
                       QStringLiteral("图片文件 (*.bmp *.ico *.jpg *.jpeg *.png);;所有文件 (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!current.empty())
        dialog.selectFile(QString::fromStdString(current));
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(PreviewWidth, PreviewHeight);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    // The Qt dialog lays itself out on a grid; the preview takes a column of its own.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString& file) { ShowPreview(*preview, file); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}
