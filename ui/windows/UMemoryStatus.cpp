#include "ui/windows/UMemoryStatus.h"

#include <malloc.h>

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int PeriodoIniziale = 1000;
constexpr int LarghezzaValore = 100;

struct TContatore {
    const char* didascalia;
    const char* nome;
    std::uint64_t THeapStatus::*valore;
};

constexpr TContatore Contatori[TMemoryStatus::NumeroContatori] = {
    {"TotalAddrSpace:", "TAS", &THeapStatus::TotalAddrSpace},
    {"TotalUncommitted:", "TU", &THeapStatus::TotalUncommitted},
    {"TotalCommitted:", "TC", &THeapStatus::TotalCommitted},
    {"TotalAllocated:", "TA", &THeapStatus::TotalAllocated},
    {"TotalFree:", "TF", &THeapStatus::TotalFree},
    {"FreeSmall:", "FS", &THeapStatus::FreeSmall},
    {"FreeBig:", "FB", &THeapStatus::FreeBig},
    {"Unused:", "U", &THeapStatus::Unused},
    {"OverHead:", "OH", &THeapStatus::Overhead},
    {"HeapErrorCode:", "HEC", &THeapStatus::HeapErrorCode},
};

}  // namespace

// glibc's statistics over all arenas, one consistent snapshot. The mapping keeps the usual
// identities: AddrSpace = Uncommitted + Committed, Committed = Allocated + Free + Overhead,
// Free = FreeSmall + FreeBig + Unused.
// - AddrSpace = Committed: the arenas' memory (arena) plus the chunks mapped on their own
//   (hblkhd). The address space that secondary arenas reserve but have not yet made usable is
//   not reported by glibc, so Uncommitted is 0.
// - Allocated: chunks in use (uordblks), their headers included, plus the mapped chunks.
// - Free: free bytes in the arenas (fordblks); of these, FreeSmall is in the fast bins
//   (fsmblks), Unused is the main arena's top chunk, the free space at its end that glibc can
//   give back to the system (keepcost), FreeBig the rest (free chunks in the bins, the other
//   arenas' tops). Overhead is 0: glibc counts the chunk headers in the allocated
//   and free bytes.
// - HeapErrorCode is 0: glibc aborts the program on a corrupted heap and keeps no error code.
THeapStatus GetHeapStatus() {
    const struct mallinfo2 info = mallinfo2();
    THeapStatus s;
    s.TotalCommitted = info.arena + info.hblkhd;
    s.TotalAddrSpace = s.TotalCommitted;
    s.TotalAllocated = info.uordblks + info.hblkhd;
    s.TotalFree = info.fordblks;
    s.FreeSmall = info.fsmblks;
    s.Unused = info.keepcost;
    s.FreeBig = info.fordblks - info.fsmblks - info.keepcost;
    return s;
}

TMemoryStatus::TMemoryStatus(QWidget* parent)
    : QWidget(parent), trackBar1_(new QSlider(Qt::Horizontal)), timer1_(new QTimer(this)) {
    setObjectName("MemoryStatus");
    setWindowTitle("Situazione memoria");
    trackBar1_->setObjectName("TrackBar1");
    trackBar1_->setRange(10, 2000);
    trackBar1_->setValue(PeriodoIniziale);
    trackBar1_->setTickInterval(200);
    trackBar1_->setTickPosition(QSlider::TicksBelow);
    connect(trackBar1_, &QSlider::valueChanged, this, &TMemoryStatus::TrackBar1Change);

    auto* righe = new QGridLayout;
    for (int i = 0; i < NumeroContatori; ++i) {
        righe->addWidget(new QLabel(Contatori[i].didascalia), i, 0);
        auto* valore = new QLabel;
        valore->setObjectName(Contatori[i].nome);
        valore->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        valore->setFixedWidth(LarghezzaValore);
        righe->addWidget(valore, i, 1);
        valori_[i] = valore;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(trackBar1_);
    layout->addLayout(righe);
    layout->addStretch();
    setFixedSize(240, 300);

    timer1_->setObjectName("Timer1");
    connect(timer1_, &QTimer::timeout, this, &TMemoryStatus::Timer1Timer);
    timer1_->start(PeriodoIniziale);
}

void TMemoryStatus::changeEvent(QEvent* event) {
    // In the main window's area: a frame of fixed size with its system menu, the minimise and
    // close buttons, and no maximise button.
    if (event->type() == QEvent::ParentChange)
        if (auto* cornice = qobject_cast<QMdiSubWindow*>(parentWidget()))
            cornice->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint |
                                    Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QWidget::changeEvent(event);
}

void TMemoryStatus::TrackBar1Change(int posizione) { timer1_->setInterval(posizione); }

void TMemoryStatus::Timer1Timer() {
    const THeapStatus stato = GetHeapStatus();
    for (int i = 0; i < NumeroContatori; ++i)
        valori_[i]->setText(QString::number(stato.*Contatori[i].valore));
}
