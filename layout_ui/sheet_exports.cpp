// The window's files: the drawing and the hole list of the sheet shown, asked for in a dialog
// and written whole or not at all, and why a write failed, in the window's language.

#include "layout_ui/sheet_window.h"

#include "files/atomic_file.h"
#include "layout_ui/messages.h"
#include "report/csv.h"
#include "report/drawing.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

#include <cerrno>

namespace layout_ui {

namespace {

    /// A system's reason for a failed write, in the window's language.
    QString errorText(int error)
    {
        switch (error) {
        case ENOENT:
            return SheetWindow::tr("没有那个文件或目录");
        case EACCES:
            return SheetWindow::tr("权限不够");
        case EPERM:
            return SheetWindow::tr("不允许的操作");
        case ENOSPC:
            return SheetWindow::tr("设备上没有空间");
        case EDQUOT:
            return SheetWindow::tr("超出磁盘配额");
        case EFBIG:
            return SheetWindow::tr("文件过大");
        case EROFS:
            return SheetWindow::tr("只读文件系统");
        case EISDIR:
            return SheetWindow::tr("是一个目录");
        case ENOTDIR:
            return SheetWindow::tr("路径中有一部分不是目录");
        case ENAMETOOLONG:
            return SheetWindow::tr("文件名过长");
        case EIO:
            return SheetWindow::tr("输入/输出错误");
        case ELOOP:
            return SheetWindow::tr("符号链接层数过多");
        case EMFILE:
        case ENFILE:
            return SheetWindow::tr("打开的文件过多");
        case EBUSY:
        case ETXTBSY:
            return SheetWindow::tr("文件正忙");
        default:
            break;
        }
        return SheetWindow::tr("系统错误 %1").arg(error);
    }

} // namespace

QString failureText(const std::exception &failure)
{
    if (const auto *write = dynamic_cast<const files::WriteError *>(&failure)) {
        const QString file = QFile::decodeName(QByteArray::fromStdString(write->path()));
        if (write->error() != 0)
            return SheetWindow::tr("无法写入 %1：%2").arg(file, errorText(write->error()));
        return SheetWindow::tr("无法写入 %1").arg(file);
    }
    if (dynamic_cast<const std::bad_alloc *>(&failure))
        return SheetWindow::tr("内存不足");
    return SheetWindow::tr("无法绘制图纸：绘图模块无法加载或内存不足");
}

QString SheetWindow::exportDrawing(const QString &file)
{
    if (!m_shown || m_view->isStale())
        return tr("没有可导出的图纸");
    const std::string name = QFile::encodeName(file).toStdString();
    const std::optional<sheet::Format> format = sheet::formatOf(name);
    if (!format)
        return tr("文件名须以 .svg、.png、.pdf 或 .dxf 结尾");
    try {
        const std::string bytes = sheet::render(
            report::layoutScene(m_shown->layout, m_numbers->isChecked(), drawingWording()),
            *format);
        files::AtomicFile target(name);
        target.write(bytes);
        target.commit();
    } catch (const std::exception &error) {
        return failureText(error);
    }
    return {};
}

QString SheetWindow::exportHoles(const QString &file)
{
    if (!m_shown || m_view->isStale())
        return tr("没有可导出的管孔表");
    try {
        files::AtomicFile target(QFile::encodeName(file).toStdString());
        target.write(report::tubeList(m_shown->layout, m_shown->sheet->tubes));
        target.commit();
    } catch (const std::exception &error) {
        return failureText(error);
    }
    return {};
}

QString SheetWindow::withExtension(const QString &file, const QString &extension)
{
    const bool drawing = sheet::formatOf(QFile::encodeName(file).toStdString()).has_value();
    const bool wanted = file.endsWith(extension, Qt::CaseInsensitive);
    // A name with a drawing type of its own keeps it: the name says what the user means.
    const bool drawingWanted =
        sheet::formatOf(QFile::encodeName(extension).prepend('x').toStdString()).has_value();
    if (wanted || (drawing && drawingWanted))
        return file;
    return file + extension;
}

QString askForFile(QWidget *parent, const QString &title, const QStringList &types)
{
    QFileDialog dialog(parent, title);
    dialog.setObjectName(QStringLiteral("exportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(types);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString type = dialog.selectedNameFilter();
    const auto star = type.indexOf(QStringLiteral("*."));
    const QString chosen = dialog.selectedFiles().front();
    QString file =
        star < 0 ? chosen : SheetWindow::withExtension(chosen, type.mid(star + 1).chopped(1));
    if (file != chosen && QFileInfo::exists(file)
        && QMessageBox::question(
               parent, title, SheetWindow::tr("%1 已存在。要替换它吗？").arg(file))
            != QMessageBox::Yes)
        return {};
    return file;
}

void SheetWindow::chooseDrawingFile()
{
    const QString file = askForFile(this, tr("导出图纸"),
        { tr("SVG 图 (*.svg)"), tr("PNG 图 (*.png)"), tr("PDF 文件 (*.pdf)"),
            tr("DXF 图 (*.dxf)") });
    if (file.isEmpty())
        return;
    const QString failure = exportDrawing(file);
    m_status->setText(failure.isEmpty() ? tr("已写入 %1").arg(file) : failure);
}

void SheetWindow::chooseHolesFile()
{
    const QString file = askForFile(this, tr("导出管孔表"), { tr("CSV 表 (*.csv)") });
    if (file.isEmpty())
        return;
    const QString failure = exportHoles(file);
    m_status->setText(failure.isEmpty() ? tr("已写入 %1").arg(file) : failure);
}

} // namespace layout_ui
