#include "devices/qv4m/ro4d_error_bits.h"

const QList<TRo4dErrorBit>& Ro4dErrorBits() {
    static const QList<TRo4dErrorBit> bits = [] {
        const QString e1 = QStringLiteral("Ошибки #1");
        const QString e2 = QStringLiteral("Ошибки #2");
        const QString v = QStringLiteral("Статусы напряжений");
        return QList<TRo4dErrorBit>{
            {0, 0, QStringLiteral("есть кор. зам."), e1},
            {0, 1, QStringLiteral("кор. зам. K1"), e1},
            {0, 2, QStringLiteral("кор. зам. K3"), e1},
            {0, 3, QStringLiteral("кор. зам. C1"), e1},
            {0, 4, QStringLiteral("кор. зам. C3"), e1},
            {0, 5, QStringLiteral("есть обрыв"), e1},
            {0, 6, QStringLiteral("обрыв K1"), e1},
            {0, 7, QStringLiteral("обрыв K3"), e1},
            {0, 8, QStringLiteral("обрыв С1"), e1},
            {0, 9, QStringLiteral("обрыв С3"), e1},
            {0, 10, QStringLiteral("ошибка M1"), e1},
            {0, 11, QStringLiteral("ошибка M2"), e1},
            {0, 12, QStringLiteral("реле 2"), e1},
            {0, 13, QStringLiteral("реле 3"), e1},
            {1, 2, QStringLiteral("есть одно пропадание напряжения"), e2},
            {1, 4, QStringLiteral("реле 4"), e2},
            {1, 5, QStringLiteral("реле 5"), e2},
            {1, 6, QStringLiteral("проблема срабатывания C1"), e2},
            {1, 7, QStringLiteral("проблема срабатывания C3"), e2},
            {2, 0, QStringLiteral("напряжение Vu"), v},
            {2, 1, QStringLiteral("напряжение Vu1"), v},
            {2, 2, QStringLiteral("напряжение VL"), v},
            {2, 3, QStringLiteral("нет вх. напряжения 1"), v},
            {2, 4, QStringLiteral("нет вх. напряжения 2"), v},
            {2, 5, QStringLiteral("обработка аварии по питанию"), v},
        };
    }();
    return bits;
}

bool Ro4dErrorBitSet(const TRo4dErrors& errors, const TRo4dErrorBit& bit) {
    const unsigned value = bit.value == 0   ? errors.wErr1
                           : bit.value == 1 ? errors.wErr2
                                            : errors.bVoltErr;
    return (value >> bit.bit) & 1U;
}
