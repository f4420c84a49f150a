#include "frame/PrintedDocument.h"

#include <QBuffer>
#include <QFont>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextDocument>

namespace vorn {

QPageSize LocalePageSize() {
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                         ? QPageSize::Letter
                         : QPageSize::A4);
}

void PrintHtml(const std::string& html, QPagedPaintDevice& device) {
    QTextDocument document;
    QFont font("Sans Serif", 10);
    font.setStyleHint(QFont::SansSerif);
    document.setDefaultFont(font);
    document.setHtml(QString::fromStdString(html));
    // Without a page size of its own, the document is laid out on the device's pages with
    // margins of 2 cm and a page number at the foot of each.
    document.print(&device);
}

QByteArray PdfOfHtml(const std::string& html, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(LocalePageSize());
        pdf.setTitle(title);
        pdf.setCreator("VORN");
        // Fine enough for the thumbnails, and every text is text.
        pdf.setResolution(300);
        PrintHtml(html, pdf);
    }  // the writer finishes the file when it goes
    return bytes;
}

}  // namespace vorn
