// grid-demo: the reading grid laid out as the main dialog lays it out (17 rows x 4 columns,
// headings, point numbers, three value columns), with a few readings filled in, so the
// control can be seen and tried by hand. The line under the grid shows the notifications.
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

using namespace morvik;

namespace {

void setUpReadingGrid(CGridCtrl& g) {
    g.setDrawingAllowed(false);
    g.setRowCount(17);
    g.setColumnCount(4);
    g.setFixedRowCount(1);
    g.setFixedColumnCount(1);
    g.setFixedBkColour(kFaceColour);
    g.setColumnWidth(0, 52);
    for (int c = 1; c < 4; ++c)
        g.setColumnWidth(c, 100);
    g.setRowHeight(0, 40);
    for (int r = 1; r < 17; ++r)
        g.setRowHeight(r, 20);
    g.setRowResizeAllowed(false);
    g.setColumnResizeAllowed(false);
    g.setEditable(true);
    g.setTitleTipsEnabled(false);
    g.setSelectionEnabled(false);
    const QString headings[] = {QStringLiteral("序号"), QStringLiteral("不平整读数(mm)"),
                                QStringLiteral("贯入仪读数(mm)"), QStringLiteral("贯入深度(mm)")};
    for (int c = 0; c < 4; ++c) {
        g.setItemText(0, c, headings[c]);
        g.setItemFormat(0, c, FormatCentre | FormatVCentre | FormatWordBreak);
    }
    for (int r = 1; r < 17; ++r)
        g.setItemText(r, 0, QString::number(r));
    const double readings[][2] = {{1.20, 5.50}, {0.85, 4.90}, {1.05, 5.12}};
    for (int p = 0; p < 3; ++p) {
        g.setItemText(p + 1, 1, QString::asprintf("%.2f", readings[p][0]));
        g.setItemText(p + 1, 2, QString::asprintf("%.2f", readings[p][1]));
        g.setItemText(p + 1, 3, QString::asprintf("%.2f", readings[p][1] - readings[p][0]));
    }
    g.setDrawingAllowed(true);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("grid-demo"));
    auto* layout = new QVBoxLayout(&window);
    auto* grid = new CGridCtrl;
    grid->setControlId(1000);
    grid->setAccessibleName(QStringLiteral("测点读数"));
    grid->setMinimumSize(360, 380);
    setUpReadingGrid(*grid);
    auto* status = new QLabel(QStringLiteral("Type a reading, Tab to move on."));
    layout->addWidget(grid);
    layout->addWidget(status);
    QObject::connect(grid, &CGridCtrl::notify, status, [status, grid](const GridNotify& n) {
        if (n.code == GridEndEdit)
            status->setText(QStringLiteral("GridEndEdit (%1, %2): \"%3\"")
                                .arg(n.row)
                                .arg(n.col)
                                .arg(grid->itemText(n.row, n.col)));
    });
    grid->setFocusCell(1, 1);
    window.show();
    // "--grab FILE" saves a picture of the window once it is shown, then quits.
    const QStringList args = app.arguments();
    const qsizetype grabAt = args.indexOf(QStringLiteral("--grab"));
    if (grabAt >= 0 && grabAt + 1 < args.size()) {
        const QString file = args.at(grabAt + 1);
        QTimer::singleShot(500, &window, [&window, file] {
            window.grab().save(file);
            QApplication::quit();
        });
    }
    return app.exec();
}
