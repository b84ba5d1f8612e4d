#include "ui/frame/DisposizioneFinestre.h"

#include <algorithm>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace {

QSize Spazio(const QMdiSubWindow* finestra) {
    return finestra->mdiArea() ? finestra->mdiArea()->viewport()->size() : QSize();
}

QSize DimensioneCheEntra(const QMdiSubWindow* finestra, QSize spazio) {
    return finestra->size().boundedTo(spazio).expandedTo(finestra->minimumSize());
}

// The height of a child's title bar: the step of the cascade.
int Scalino(const QMdiSubWindow* finestra) {
    QStyleOptionTitleBar opzioni;
    opzioni.initFrom(finestra);
    const int barra = finestra->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opzioni,
                                                     finestra);
    return std::max(barra, 8);
}

}  // namespace

void TieniNellArea(QMdiSubWindow* finestra) {
    const QSize spazio = Spazio(finestra);
    if (spazio.isEmpty() || finestra->isMinimized() || finestra->isMaximized()) return;
    const QSize dimensione = DimensioneCheEntra(finestra, spazio);
    const int x = std::max(0, std::min(finestra->x(), spazio.width() - dimensione.width()));
    const int y = std::max(0, std::min(finestra->y(), spazio.height() - dimensione.height()));
    finestra->setGeometry(x, y, dimensione.width(), dimensione.height());
}

QList<QKeySequence> TastiChiusura() {
    QList<QKeySequence> tasti = QKeySequence::keyBindings(QKeySequence::Close);
    const QKeySequence ctrlF4(Qt::CTRL | Qt::Key_F4);
    if (!tasti.contains(ctrlF4)) tasti << ctrlF4;
    return tasti;
}

void LasciaTastiChiusura(QMdiSubWindow* finestra) {
    const QMenu* menu = finestra->systemMenu();
    if (!menu) return;
    const QList<QKeySequence> chiusura = TastiChiusura();
    for (QAction* voce : menu->actions()) {
        const QList<QKeySequence> tasti = voce->shortcuts();
        if (std::any_of(tasti.begin(), tasti.end(),
                        [&](const QKeySequence& t) { return chiusura.contains(t); }))
            voce->setShortcuts({});
    }
}

void Cascata(QMdiArea* area) {
    QMdiSubWindow* attiva = area->activeSubWindow();
    QList<QMdiSubWindow*> finestre;
    for (QMdiSubWindow* f : area->subWindowList(QMdiArea::StackingOrder))
        if (f->isVisible() && !f->isMinimized() && f != attiva) finestre << f;
    if (attiva && attiva->isVisible() && !attiva->isMinimized()) finestre << attiva;
    const QSize spazio = area->viewport()->size();
    QPoint angolo(0, 0);
    for (QMdiSubWindow* f : finestre) {
        if (f->isMaximized()) f->showNormal();
        const QSize dimensione = DimensioneCheEntra(f, spazio);
        if (angolo.x() + dimensione.width() > spazio.width() ||
            angolo.y() + dimensione.height() > spazio.height())
            angolo = QPoint(0, 0);
        f->setGeometry(QRect(angolo, dimensione));
        f->raise();
        const int passo = Scalino(f);
        angolo += QPoint(passo, passo);
    }
    if (attiva) area->setActiveSubWindow(attiva);
}
