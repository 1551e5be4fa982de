// The report printer's peer for its benchmark: the same page header, bands and footer drawn page
// by page straight with QPainter on a QPdfWriter, the practical limit of the toolkit.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <functional>
#include <string>
#include <vector>

// A text of the page: where it goes in device units, how it is aligned and how bold.
struct PeerText {
    QRect rect;
    Qt::Alignment alignment;
    bool bold = false;
};

// Writes US Letter pages at 600 dpi with a quarter-inch margin: the header texts and a rule at
// the top of each page, `perPage` bands of `band` units below, and a footer. `next` fills the
// texts of the next record and answers false after the last one. The number of pages written.
inline int PrintPeerReport(const std::string& path, const std::vector<PeerText>& header,
                           const std::vector<QString>& captions,
                           const std::vector<PeerText>& columns, int bandTop, int band, int perPage,
                           int footerTop, const std::function<bool(std::vector<QString>&)>& next) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    QPainter painter(&writer);
    QFont plain(QStringLiteral("Arial"));
    plain.setPointSize(10);
    QFont bold = plain;
    bold.setBold(true);
    std::vector<QString> texts(columns.size());
    int pages = 0;
    int onPage = perPage;
    while (next(texts)) {
        if (onPage == perPage) {
            if (pages > 0) {
                writer.newPage();
            }
            ++pages;
            onPage = 0;
            for (std::size_t i = 0; i < header.size(); ++i) {
                painter.setFont(header[i].bold ? bold : plain);
                painter.drawText(header[i].rect, static_cast<int>(header[i].alignment),
                                 captions[i]);
            }
            painter.drawLine(0, bandTop - 10, 4500, bandTop - 10);
            painter.setFont(plain);
            painter.drawText(QRect(0, footerTop, 4500, 100), Qt::AlignCenter,
                             QStringLiteral("QOR sample database"));
        }
        painter.setFont(plain);
        const int top = bandTop + onPage * band;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QRect rect = columns[i].rect.translated(0, top);
            painter.fillRect(rect, Qt::white);
            painter.drawText(rect, static_cast<int>(columns[i].alignment), texts[i]);
        }
        ++onPage;
    }
    return pages;
}
