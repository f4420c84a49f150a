#include "frame/QtUserInterface.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>

#include "frame/BusyCursor.h"
#include "frame/FocusKeeper.h"
#include "frame/PrintedDocument.h"
#include "frame/WindowRegistry.h"

namespace vorn {
namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Error:
            return QMessageBox::Critical;
        default:
            return QMessageBox::Information;
    }
}

// Qt's file dialog accepts a name to save in a folder that does not exist, and the write
// fails only after it has closed. This one says so and stays open for another name.
class FileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    void accept() override {
        QStringList files = selectedFiles();
        if (acceptMode() == AcceptSave && !files.isEmpty()) {
            QFileInfo file(files.first());
            QString folder = file.absolutePath();
            if (!file.isDir() && !QFileInfo(folder).isDir()) {
                QMessageBox box(
                    QMessageBox::Warning, "VORN",
                    "The folder \"" + folder + "\" does not exist.  Choose a folder that exists.",
                    QMessageBox::Ok, this);
                box.setTextFormat(Qt::PlainText);
                box.exec();
                return;
            }
        }
        QFileDialog::accept();
    }
};

// The extension of a filter's first pattern: "pdf" for "PDF document (*.pdf)".
QString SuffixOfFilter(const QString& filter) {
    QRegularExpressionMatch match = QRegularExpression(R"(\(\*\.(\w+))").match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::optional<std::string> RunDialog(const FileDialogRequest& request, bool save) {
    FocusKeeper keeper;
    QString start = request.StartFolder.empty() ? QDir::currentPath()
                                                : QString::fromStdString(request.StartFolder);
    FileDialog dialog(DialogParent(), QString::fromStdString(request.Title), start,
                      QString::fromStdString(request.Filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Keys come from systems that ignore letter case: "*.des" also finds TREES.DES.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.ConfirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QString::fromStdString(request.DefaultSuffix));
        // With several filters the extension added is the chosen filter's.
        if (request.Filter.find(";;") != std::string::npos) {
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                             [&dialog](const QString& filter) {
                                 QString suffix = SuffixOfFilter(filter);
                                 if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
                             });
        }
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace

void QtUserInterface::ShowMessage(MessageKind kind, const std::string& text) {
    FocusKeeper keeper;
    QMessageBox box(IconOf(kind), "VORN", QString::fromStdString(text), QMessageBox::Ok,
                    DialogParent());
    box.setTextFormat(Qt::PlainText);
    // The busy cursor of an operation in progress must not hide the pointer here.
    bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (busy) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (busy) QGuiApplication::restoreOverrideCursor();
}

bool QtUserInterface::AskYesNo(MessageKind kind, const std::string& text,
                               QuestionCheckBox* checkBox) {
    FocusKeeper keeper;
    QMessageBox box(IconOf(kind), "VORN", QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, DialogParent());
    box.setTextFormat(Qt::PlainText);
    if (checkBox) box.setCheckBox(new QCheckBox(QString::fromStdString(checkBox->Label)));
    bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (busy) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    bool yes = box.exec() == QMessageBox::Yes;
    if (busy) QGuiApplication::restoreOverrideCursor();
    if (checkBox) checkBox->Checked = box.checkBox()->isChecked();
    return yes;
}

std::optional<std::string> QtUserInterface::OpenFileDialog(const FileDialogRequest& request) {
    return RunDialog(request, false);
}

std::optional<std::string> QtUserInterface::SaveFileDialog(const FileDialogRequest& request) {
    return RunDialog(request, true);
}

bool QtUserInterface::PrintDocument(const PrintRequest& request) {
    FocusKeeper keeper;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(LocalePageSize());
    printer.setDocName(QString::fromStdString(request.Title));
    QPrintDialog dialog(&printer, DialogParent());
    if (dialog.exec() != QDialog::Accepted) return false;
    {
        BusyCursor busy;
        PrintHtml(request.Html, printer);
    }
    if (printer.printerState() == QPrinter::Error) {
        ShowError("\"" + request.Title + "\" could not be printed: the printer reported an error.");
        return false;
    }
    return true;
}

VornApplication::VornApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The file dialogs keep their recent folders in the toolkit's own settings file; VORN
    // saves nothing but its settings file, so that one goes to a place that cannot exist.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, "/dev/null/vorn");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, "/dev/null/vorn");
}

bool VornApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportError(error);
    } catch (...) {
        ShowError("An unexpected error ended the operation.");
    }
    return false;
}

}  // namespace vorn
