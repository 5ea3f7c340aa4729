// A COM<n> entry of the port map: a symlink in the per-user ports folder that
// points at a device, so the program finds a simulated unit like any port.
#pragma once

#include <QString>

namespace sim {

class ComLink {
public:
    static constexpr int kMaxNumber = 96;

    ComLink() = default;
    ~ComLink() { remove(); }
    ComLink(const ComLink&) = delete;
    ComLink& operator=(const ComLink&) = delete;

    // Links COM<number> to device; number 0 takes the first number from 1
    // whose link does not exist. An existing link is never replaced.
    bool create(const QString& device, int number, QString* error = nullptr);
    // Points the same name at another device (the adapter plugged back in).
    bool retarget(const QString& device);
    // Removes the link if it is still ours.
    void remove();

    bool isCreated() const { return number_ > 0; }
    int number() const { return number_; }
    QString name() const;
    QString path() const { return path_; }

private:
    int number_ = 0;
    QString path_;
    QString device_;
};

} // namespace sim
