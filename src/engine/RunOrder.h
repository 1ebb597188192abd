#pragma once
// The list order of one run's files, kept while several files convert at once:
// a file takes its output name only after every earlier file of the list has
// taken its own or failed, so the first in the list wins a name whatever order
// files finish in; and a file whose name or text counts converted files ("%n%",
// "%rnd%") waits until every earlier file has converted or failed, so a failed
// file leaves no number behind, with one job or many.

#include <QSet>
#include <QString>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace tarvix {

class RunOrder {
public:
    // numbered: the names or texts of this run count converted files.
    RunOrder(size_t files, int32_t firstCounter, int32_t firstRandom, bool numbered);

    struct Numbers {
        int32_t counter;
        int32_t random;
    };
    // The counter and random number of file index. For a numbered run it waits
    // until every earlier file is settled: the counter then follows the files
    // converted before it, and each converted file after the first draws a new
    // random number.
    Numbers NumbersFor(size_t index);
    // Takes path for file index once every earlier file has claimed or settled;
    // false when an earlier file (or this one) holds it.
    bool Claim(size_t index, const QString& path);
    // File index is done; later files waiting on it go on.
    void Settle(size_t index, bool converted);
    // Whether names wait for every earlier file to settle.
    bool Numbered() const { return numbered_; }

private:
    void Advance(); // moves the frontiers past finished files; under lock_

    const int32_t firstCounter_, firstRandom_;
    const bool numbered_;
    std::mutex lock_;
    std::condition_variable changed_;
    // Per file: 0 waiting, 1 claimed its name, 2 failed, 3 converted.
    std::vector<uint8_t> stage_;
    size_t claimedUpTo_ = 0; // every file below this has claimed or settled
    size_t settledUpTo_ = 0; // every file below this has settled
    int32_t converted_ = 0;  // among the settled files below settledUpTo_
    QSet<QString> taken_;
};

} // namespace tarvix
