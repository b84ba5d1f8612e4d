// TFloatSpinEdit driven by keys, buttons and focus changes in a real window.
#include <QClipboard>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/base/Conversioni.h"
#include "plot/VtrSpin.h"
#include "tests/ui/Modali.h"

namespace {

// Counts the beeps instead of sounding them.
class TSpinContato : public TFloatSpinEdit {
public:
    using TFloatSpinEdit::TFloatSpinEdit;
    int beep = 0;

protected:
    void SegnaleAcustico() override { ++beep; }
};

}  // namespace

class TestVtrSpin : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    QWidget* finestra_ = nullptr;
    TSpinContato* spin_ = nullptr;
    QLineEdit* altro_ = nullptr;

    QToolButton* Pulsante(const char* nome) { return spin_->findChild<QToolButton*>(nome); }

private slots:
    void initTestCase() { ZittisciAvvisiPiattaforma(); }

    void init() {
        finestra_ = new QWidget;
        auto* layout = new QVBoxLayout(finestra_);
        spin_ = new TSpinContato(finestra_);
        altro_ = new QLineEdit(finestra_);
        layout->addWidget(spin_);
        layout->addWidget(altro_);
        finestra_->show();
        finestra_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(finestra_));
    }

    void cleanup() {
        delete finestra_;
        SetDecimalSeparator('.');
        ControllaFineTest(risponditore_);
    }

    void writes_values_inside_bounds_data() {
        QTest::addColumn<double>("minimo");
        QTest::addColumn<double>("massimo");
        QTest::addColumn<double>("scritto");
        QTest::addColumn<QString>("mostrato");
        QTest::newRow("no bounds, one million") << 0.0 << 0.0 << 1e6 << "1000000";
        QTest::newRow("above the maximum") << 0.0 << 10.0 << 12.0 << "10";
        QTest::newRow("below the minimum") << 0.0 << 10.0 << -3.0 << "0";
        QTest::newRow("inside") << 0.0 << 10.0 << 2.5 << "2.5";
        QTest::newRow("equal bounds are no bounds") << 5.0 << 5.0 << -7.0 << "-7";
    }
    void writes_values_inside_bounds() {
        QFETCH(double, minimo);
        QFETCH(double, massimo);
        QFETCH(double, scritto);
        QFETCH(QString, mostrato);
        spin_->SetMinValue(minimo);
        spin_->SetMaxValue(massimo);
        spin_->SetValue(scritto);
        QCOMPARE(spin_->text(), mostrato);
    }

    void reads_text_that_is_no_number_as_min_value_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<double>("minimo");
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 3.0;
        QTest::newRow("the other separator") << "1,5" << -2.0;
    }
    void reads_text_that_is_no_number_as_min_value() {
        QFETCH(QString, testo);
        QFETCH(double, minimo);
        spin_->SetMinValue(minimo);
        spin_->SetMaxValue(minimo + 10);
        spin_->setText(testo);
        QCOMPARE(spin_->Value(), static_cast<Extended>(minimo));
    }

    void leaving_the_edit_brings_a_typed_value_inside_bounds_data() {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("dopo");
        QTest::newRow("below") << "-3" << "0";
        QTest::newRow("above") << "25" << "10";
        QTest::newRow("inside is left alone") << "7.50" << "7.50";
    }
    void leaving_the_edit_brings_a_typed_value_inside_bounds() {
        QFETCH(QString, digitato);
        QFETCH(QString, dopo);
        spin_->SetMinValue(0);
        spin_->SetMaxValue(10);
        Digita(spin_, digitato);
        QCOMPARE(spin_->text(), digitato);
        altro_->setFocus();
        QTRY_VERIFY(altro_->hasFocus());
        QCOMPARE(spin_->text(), dopo);
    }

    void filters_typed_keys_data() {
        QTest::addColumn<char>("separatore");
        QTest::addColumn<bool>("editabile");
        QTest::addColumn<int>("tasto");
        QTest::addColumn<QString>("dopo");
        QTest::addColumn<int>("beep");
        // The edit holds "1" with the cursor at its end before the key.
        QTest::newRow("digit") << '.' << true << int(Qt::Key_7) << "17" << 0;
        QTest::newRow("plus") << '.' << true << int(Qt::Key_Plus) << "1+" << 0;
        QTest::newRow("minus") << '.' << true << int(Qt::Key_Minus) << "1-" << 0;
        QTest::newRow("point with '.'") << '.' << true << int(Qt::Key_Period) << "1." << 0;
        QTest::newRow("point with ','") << ',' << true << int(Qt::Key_Period) << "1" << 1;
        QTest::newRow("comma with ','") << ',' << true << int(Qt::Key_Comma) << "1," << 0;
        QTest::newRow("comma with '.'") << '.' << true << int(Qt::Key_Comma) << "1" << 1;
        QTest::newRow("exponent letter") << '.' << true << int(Qt::Key_E) << "1" << 1;
        QTest::newRow("space") << '.' << true << int(Qt::Key_Space) << "1" << 1;
        QTest::newRow("enter") << '.' << true << int(Qt::Key_Return) << "1" << 1;
        QTest::newRow("backspace") << '.' << true << int(Qt::Key_Backspace) << "" << 0;
        QTest::newRow("digit, no editor") << '.' << false << int(Qt::Key_7) << "1" << 1;
        QTest::newRow("backspace, no editor")
            << '.' << false << int(Qt::Key_Backspace) << "1" << 1;
        QTest::newRow("delete, no editor") << '.' << false << int(Qt::Key_Delete) << "1" << 0;
    }
    void filters_typed_keys() {
        QFETCH(char, separatore);
        QFETCH(bool, editabile);
        QFETCH(int, tasto);
        QFETCH(QString, dopo);
        QFETCH(int, beep);
        SetDecimalSeparator(separatore);
        spin_->SetEditorEnabled(editabile);
        spin_->setText("1");
        spin_->setFocus();
        spin_->setCursorPosition(tasto == Qt::Key_Delete ? 0 : 1);
        QTest::keyClick(spin_, static_cast<Qt::Key>(tasto));
        QCOMPARE(spin_->text(), dopo);
        QCOMPARE(spin_->beep, beep);
    }

    void steps_by_increment_with_keys_and_buttons_data() {
        QTest::addColumn<bool>("editabile");
        QTest::addColumn<bool>("conTasti");
        QTest::addColumn<bool>("su");
        QTest::addColumn<QString>("dopo");
        for (bool editabile : {true, false}) {
            const char* editor = editabile ? "editor" : "no editor";
            QTest::addRow("up key, %s", editor) << editabile << true << true << "1.5";
            QTest::addRow("down key, %s", editor) << editabile << true << false << "0.5";
            QTest::addRow("up button, %s", editor) << editabile << false << true << "1.5";
            QTest::addRow("down button, %s", editor) << editabile << false << false << "0.5";
        }
    }
    void steps_by_increment_with_keys_and_buttons() {
        QFETCH(bool, editabile);
        QFETCH(bool, conTasti);
        QFETCH(bool, su);
        QFETCH(QString, dopo);
        spin_->SetEditorEnabled(editabile);
        spin_->SetIncrement(0.5);
        spin_->SetValue(1);
        if (conTasti)
            QTest::keyClick(spin_, su ? Qt::Key_Up : Qt::Key_Down);
        else
            QTest::mouseClick(Pulsante(su ? "Su" : "Giu"), Qt::LeftButton);
        QCOMPARE(spin_->text(), dopo);
        QCOMPARE(spin_->beep, 0);
    }

    void a_read_only_edit_beeps_and_keeps_its_value() {
        spin_->SetValue(3);
        spin_->setReadOnly(true);
        QTest::mouseClick(Pulsante("Su"), Qt::LeftButton);
        QTest::mouseClick(Pulsante("Giu"), Qt::LeftButton);
        QTest::keyClick(spin_, Qt::Key_Up);
        QCOMPARE(spin_->text(), QString("3"));
        QCOMPARE(spin_->beep, 3);
    }

    void pastes_only_into_an_editable_edit_data() {
        QTest::addColumn<bool>("editabile");
        QTest::addColumn<bool>("solaLettura");
        QTest::addColumn<QString>("dopo");
        QTest::newRow("editable") << true << false << "42";
        QTest::newRow("no editor") << false << false << "1";
        QTest::newRow("read-only") << true << true << "1";
    }
    void pastes_only_into_an_editable_edit() {
        QFETCH(bool, editabile);
        QFETCH(bool, solaLettura);
        QFETCH(QString, dopo);
        QApplication::clipboard()->setText("42");
        spin_->SetEditorEnabled(editabile);
        spin_->setReadOnly(solaLettura);
        spin_->setText("1");
        spin_->setFocus();
        spin_->selectAll();
        QTest::keyClick(spin_, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(spin_->text(), dopo);
        spin_->selectAll();
        QTest::keyClick(spin_, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(spin_->text(), editabile && !solaLettura ? QString() : dopo);
    }

    void uses_the_separator_in_force() {
        SetDecimalSeparator(',');
        spin_->SetValue(2.5);
        QCOMPARE(spin_->text(), QString("2,5"));
        QCOMPARE(spin_->Value(), 2.5L);
        spin_->setText("2.5");
        QCOMPARE(spin_->Value(), spin_->MinValue());
    }
};

QTEST_MAIN(TestVtrSpin)
#include "test_vtrspin.moc"
