// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace quillmere {

// The block's progress: one dot a planned session, those started filled in
// the accent colour, and "N of M sessions started" under them. Holds only
// its three values.
class BlockProgress : public QWidget {
    Q_OBJECT

public:
    BlockProgress(std::int64_t started, std::int64_t planned, const QColor& accent, QWidget* parent = nullptr);

    std::int64_t started() const { return started_; }
    std::int64_t planned() const { return planned_; }
    QColor accent() const { return accent_; }
    QString text() const;
    double fillFraction() const { return fillFraction(started_, planned_); }

    // started / planned within 0...1; a plan below one session counts as one.
    static double fillFraction(std::int64_t started, std::int64_t planned);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* dotsRow_ = nullptr;
    std::int64_t started_;
    std::int64_t planned_;
    QColor accent_;
};

} // namespace quillmere
