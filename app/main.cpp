#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Velkan贯入仪检测软件V2.01-新文件.stl"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
