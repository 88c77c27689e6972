// Scoring on several threads: samples are handed over in batches, scored
// by whichever thread is free (each with a Scorer of its own), and their
// rows written in input order. Batches can be handed over while the input
// is still being read, so that reading and scoring overlap.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/files.h"
#include "vegfit/results.h"
#include "vegfit/samples.h"

namespace vegfit {

class ScoringPool {
 public:
  /// Samples in a batch.
  static constexpr std::size_t kBatch = 256;
  /// Rows held back while the input is read, at most (then the helpers
  /// wait for the end of the input before they go on).
  static constexpr std::size_t kHeldBytes = std::size_t{256} << 20;

  ScoringPool(const Reference& reference, const Options& options, unsigned threads);
  ~ScoringPool();
  ScoringPool(const ScoringPool&) = delete;
  ScoringPool& operator=(const ScoringPool&) = delete;

  /// Hands over samples [begin, end) of `set`, which must not change while
  /// the pool holds it, in batches of kBatch.
  void add(std::shared_ptr<const SampleSet> set, std::size_t begin, std::size_t end);
  /// Starts the helper threads (all but one of the pool's threads, once),
  /// which score batches while the caller goes on.
  void startHelpers();
  /// Drops every batch, scored or not (the input cannot be used as read).
  void abandon();
  /// From now on the rows of each batch go to `out` as soon as they and
  /// those before them are scored, written by the thread that scored the
  /// last of them; a write that fails stops the writing, and finish
  /// reports it.
  void writeWhenDone(veg::TextFile& out);
  /// Scores what is left, the caller's thread too, and writes every row not
  /// yet written to `out` in input order; the last JSON object loses its
  /// comma. Throws veg::FileError when the rows cannot be written.
  void finish(veg::TextFile& out);

 private:
  struct Batch {
    std::shared_ptr<const SampleSet> set;
    std::size_t begin = 0, end = 0;
    std::string rows;
    bool taken = false;
    bool done = false;
  };

  void help(unsigned t);
  // Writes the batches that are done, in order, unless another thread is
  // at it; `lock` is held on entry and exit.
  void writeDone(std::unique_lock<std::mutex>& lock);
  // Scores one batch with scorer `t`; `lock` is held on entry and exit.
  void scoreBatch(Batch& batch, unsigned t, std::unique_lock<std::mutex>& lock);
  Batch* nextToScore();

  const Options& options_;
  std::vector<std::unique_ptr<Scorer>> scorers_;
  std::vector<std::thread> helpers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Batch> batches_;
  std::size_t next_to_take_ = 0;
  std::size_t held_bytes_ = 0;
  std::size_t row_bytes_ = 0;  // of the largest batch scored
  bool reading_ = true;        // the caller may still add batches
  bool stopping_ = false;
  veg::TextFile* out_ = nullptr;  // where done batches go at once; null: at finish
  std::size_t next_to_write_ = 0;
  bool writing_ = false;        // a thread is writing
  std::string pending_;         // JSON: the last object written, held back for its comma
  std::optional<veg::FileError> write_error_;
};

}  // namespace vegfit
