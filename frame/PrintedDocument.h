#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QString>
#include <string>

class QPagedPaintDevice;

namespace vorn {

// Documents on paper and in PDF, laid out by Qt's rich text from HTML the core wrote (a
// report of an identification): the PDF and the printout are the same document as the
// page, pictures embedded as data: addresses included, and their text stays text.

// The paper of the user's locale: Letter where the locale measures in inches (the United
// States), A4 elsewhere.
QPageSize LocalePageSize();

// Lays `html` (UTF-8) out on the pages of `device` (a PDF writer or a printer), with
// margins of 2 cm and the page numbers at the foot of each page.
void PrintHtml(const std::string& html, QPagedPaintDevice& device);

// `html` as a PDF document on the locale's paper, titled `title`: the bytes of the file.
QByteArray PdfOfHtml(const std::string& html, const QString& title);

}  // namespace vorn
