#include "Dialog.h"
#include "TMaterialsForm.h"
#include "TProfilesForm.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Answers the next modal window once it is shown.
void WhenModal(const std::function<void(QWidget*)>& answer) {
    QTimer::singleShot(50, [answer] {
        if (QWidget* modal = QApplication::activeModalWidget())
            answer(modal);
        else
            WhenModal(answer);
    });
}

std::unique_ptr<QBuffer> Stream(const QByteArray& bytes) {
    auto stream = std::make_unique<QBuffer>();
    stream->setData(bytes);
    stream->open(QIODevice::ReadWrite);
    stream->seek(bytes.size());
    return stream;
}

} // namespace

class TestDialogCalls : public QObject {
    Q_OBJECT

private slots:
    void materialsComeBackInTheStream();
    void cancelledProfilesLeaveTheStream();
    void thicknessTypesTakeNoProfiles();
};

void TestDialogCalls::materialsComeBackInTheStream() {
    auto stream = Stream("   No  E  nu  gamma  alpha\r\n");
    WhenModal([](QWidget* modal) {
        auto* form = qobject_cast<TMaterialsForm*>(modal);
        QVERIFY(form);
        form->Choose("STEEL", "S275");
        form->InsertClick();
        form->accept();
    });
    QVERIFY(MaterialDlg(nullptr, PACKAGE_SOURCE "/StdMat.dat", 0, stream, 1, 1));
    QCOMPARE(stream->data(), QByteArray("   No  E  nu  gamma  alpha\r\n"
                                        "#  1  21000       0.3         7.85E-5     1.2E-5     "
                                        "; S275\r\n"));
}

void TestDialogCalls::cancelledProfilesLeaveTheStream() {
    auto stream = Stream("#  1  1 1\r\n");
    QBuffer* before = stream.get();
    WhenModal([](QWidget* modal) {
        QVERIFY(qobject_cast<TProfilesForm*>(modal));
        static_cast<QDialog*>(modal)->reject();
    });
    QVERIFY(!ProfilesDlg(nullptr, PACKAGE_SOURCE "/StdProf.dat", 5, 1, stream, 0));
    QCOMPARE(stream.get(), before);
    QCOMPARE(stream->data(), QByteArray("#  1  1 1\r\n"));
}

void TestDialogCalls::thicknessTypesTakeNoProfiles() {
    auto stream = Stream("#  1  0.2\r\n");
    QString shown;
    WhenModal([&shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        shown = box->text();
        box->accept();
    });
    QVERIFY(!ProfilesDlg(nullptr, PACKAGE_SOURCE "/StdProf.dat", 9, 1, stream, 0));
    QVERIFY(shown.contains("thicknesses"));
}

QTEST_MAIN(TestDialogCalls)
#include "tst_dialogcalls.moc"
