// Manual demo of the member list with its header, and of the owner-drawn buttons.
//   list-demo                 shows the window
//   list-demo --save out.png  renders it into out.png and quits
//   list-demo --descending    sorts the member numbers descending instead of ascending
//   list-demo --zoom 4        enlarges the saved image pixel by pixel, to inspect details
#include "controls/CMyBtn.h"
#include "controls/CSortListCtrl.h"
#include "controls/SongFont.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QHBoxLayout>
#include <QImage>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstdio>

using namespace morvik;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption save("save", "Render the window into <file> and quit.", "file");
    QCommandLineOption descending("descending", "Sort the member numbers descending.");
    parser.addOption(save);
    QCommandLineOption zoom("zoom", "Enlarge the saved image <n> times.", "n", "1");
    parser.addOption(descending);
    parser.addOption(zoom);
    parser.process(app);

    QWidget window;
    window.setFont(songFont(9));
    window.setAutoFillBackground(true);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, colorFromRef(kHeaderFaceColour));
    window.setPalette(pal);
    auto* layout = new QVBoxLayout(&window);

    auto* list = new CSortListCtrl;
    list->setAccessibleName(QStringLiteral("构件列表"));
    list->setHeadings(QStringLiteral("序号,40;构件编号,90;平均值,60;抗压强度,60"));
    const QStringList names = {"G001", "G002", "G-10", "G003", "G004", "G005"};
    const QStringList depths = {"4.12", "--", "3.98", "4.50", "5.02", "3.77"};
    const QStringList strengths = {"6.3", "--", "7.0", "5.6", "4.8", "7.4"};
    for (int i = 0; i < names.size(); ++i)
        list->addRow({QString::number(i + 1), names[i], depths[i], strengths[i]});
    list->setRowChecked(0, true);
    list->setRowChecked(3, true);
    list->setCellColours(4, 2, 0x0000FF, 0xCCFFFF);
    list->setRowSelected(2, true);
    list->sortRows(0, !parser.isSet(descending));
    list->setFixedSize(270, 170);
    layout->addWidget(list);

    auto* buttons = new QHBoxLayout;
    auto* add = new CMyBtn(QStringLiteral("增加构件"));
    auto* remove = new CMyBtn(QStringLiteral("删除构件"));
    auto* twoLines = new CMyBtn(QStringLiteral("打印 预览"));
    remove->setEnabled(false);
    for (CMyBtn* b : {add, remove, twoLines}) {
        b->setFixedSize(76, 36);
        buttons->addWidget(b);
    }
    twoLines->setFixedSize(32, 36);
    layout->addLayout(buttons);

    window.show();
    if (parser.isSet(save)) {
        const QString file = parser.value(save);
        QImage image = window.grab().toImage();
        const int factor = std::max(1, parser.value(zoom).toInt());
        image = image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!image.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        return 0;
    }
    return app.exec();
}
