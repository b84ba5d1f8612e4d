// TMemoryStatus: "Situazione memoria", a child window that shows the C library allocator's
// counters, refreshed at the period its track bar sets.
#pragma once

#include <array>
#include <cstdint>

#include <QWidget>

class QLabel;
class QSlider;
class QTimer;

// The allocator's status, in the order the window shows it; all in bytes but the error code.
struct THeapStatus {
    std::uint64_t TotalAddrSpace = 0;
    std::uint64_t TotalUncommitted = 0;
    std::uint64_t TotalCommitted = 0;
    std::uint64_t TotalAllocated = 0;
    std::uint64_t TotalFree = 0;
    std::uint64_t FreeSmall = 0;
    std::uint64_t FreeBig = 0;
    std::uint64_t Unused = 0;
    std::uint64_t Overhead = 0;
    std::uint64_t HeapErrorCode = 0;
};

THeapStatus GetHeapStatus();

class TMemoryStatus : public QWidget {
    Q_OBJECT
public:
    static constexpr int NumeroContatori = 10;

    explicit TMemoryStatus(QWidget* parent = nullptr);

    QSlider* TrackBar1() const { return trackBar1_; }
    QTimer* Timer1() const { return timer1_; }
    // The value labels, in the order of THeapStatus.
    const std::array<QLabel*, NumeroContatori>& Valori() const { return valori_; }

    void TrackBar1Change(int posizione);
    void Timer1Timer();

protected:
    void changeEvent(QEvent* event) override;

private:
    QSlider* trackBar1_;
    QTimer* timer1_;
    std::array<QLabel*, NumeroContatori> valori_{};
};
