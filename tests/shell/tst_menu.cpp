#include "TestSupport.h"
#include "shell/FormMenu.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include <QtTest>

class TestMenu : public QObject {
    Q_OBJECT
private slots:
    void hover()
    {
        Ambiente env;
        auto &m = Default<FormMenu>();
        m.Show();
        QTest::mouseMove(m.Command1[2]->widget(), QPoint(20, 20));
        QCOMPARE(m.Command1[2]->BackColor(), 255);
        m.Unload();
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
