// Reading back what was printed into a PDF file, with the poppler tools:
// the page count, a page as an image, and a page's text line by line.
#pragma once

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <sstream>
#include <string>
#include <vector>

inline std::string RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return process.readAllStandardOutput().toStdString();
}

inline int PdfPageCount(const std::string& pdf) {
    const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf)});
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::stoi(info.substr(at + 6));
}

// Page n (from 1) at dpi dots per inch.
inline QImage PdfPageImage(const std::string& pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString n = QString::number(page);
    RunTool("pdftoppm", {"-f", n, "-l", n, "-r", QString::number(dpi), "-png", "-singlefile",
                         QString::fromStdString(pdf), dir.path() + "/page"});
    return QImage(dir.path() + "/page.png").convertToFormat(QImage::Format_RGB32);
}

// The non-empty lines of page n's text, trailing spaces removed.
inline std::vector<std::string> PdfPageLines(const std::string& pdf, int page) {
    const QString n = QString::number(page);
    std::istringstream text(
        RunTool("pdftotext", {"-f", n, "-l", n, "-layout", QString::fromStdString(pdf), "-"}));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        line.erase(line.find_last_not_of(" \f") + 1);
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}
