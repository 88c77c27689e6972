#include "vegfit/scoring.h"

#include <algorithm>

namespace vegfit {

ScoringPool::ScoringPool(const Reference& reference, const Options& options, unsigned threads)
    : options_(options) {
  threads = std::max(threads, 1u);
  for (unsigned t = 0; t < threads; ++t)
    scorers_.push_back(std::make_unique<Scorer>(reference, options));
}

ScoringPool::~ScoringPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& h : helpers_) h.join();
}

void ScoringPool::add(std::shared_ptr<const SampleSet> set, std::size_t begin, std::size_t end) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t b = begin; b < end; b += kBatch) {
      Batch& batch = batches_.emplace_back();
      batch.set = set;
      batch.begin = b;
      batch.end = std::min(end, b + kBatch);
    }
  }
  changed_.notify_all();
}

void ScoringPool::startHelpers() {
  // Scorer 0 is the caller's.
  if (!helpers_.empty()) return;
  for (unsigned t = 1; t < scorers_.size(); ++t) helpers_.emplace_back([this, t] { help(t); });
}

ScoringPool::Batch* ScoringPool::nextToScore() {
  if (next_to_take_ >= batches_.size()) return nullptr;
  return &batches_[next_to_take_++];
}

void ScoringPool::scoreBatch(Batch& batch, unsigned t, std::unique_lock<std::mutex>& lock) {
  batch.taken = true;
  // Room for rows as long as the last batch's, so that they are not copied
  // over and over as they grow.
  const std::size_t room = row_bytes_ + row_bytes_ / 8;
  lock.unlock();
  batch.rows.reserve(room);
  for (std::size_t i = batch.begin; i < batch.end; ++i)
    scorers_[t]->score(*batch.set, i, batch.rows);
  lock.lock();
  batch.done = true;
  held_bytes_ += batch.rows.size();
  row_bytes_ = std::max(row_bytes_, batch.rows.size());
  // The samples are no longer needed, only their rows: what was handed
  // over while reading is freed for the batches still to come.
  batch.set.reset();
  changed_.notify_all();
}

void ScoringPool::help(unsigned t) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] {
      return stopping_ ||
             (next_to_take_ < batches_.size() && (!reading_ || held_bytes_ < kHeldBytes));
    });
    if (stopping_) return;
    scoreBatch(*nextToScore(), t, lock);
  }
}

void ScoringPool::abandon() {
  std::unique_lock<std::mutex> lock(mutex_);
  // Batches being scored finish first; then nothing is left to take.
  changed_.wait(lock, [&] {
    return std::all_of(batches_.begin(), batches_.end(),
                       [](const Batch& b) { return !b.taken || b.done; });
  });
  batches_.clear();
  next_to_take_ = 0;
  held_bytes_ = 0;
}

void ScoringPool::finish(veg::TextFile& out) {
  std::unique_lock<std::mutex> lock(mutex_);
  reading_ = false;
  changed_.notify_all();
  const bool json = options_.format == Format::kJson;
  for (std::size_t next = 0; next < batches_.size();) {
    Batch& batch = batches_[next];
    if (batch.done) {
      std::string rows;
      rows.swap(batch.rows);
      held_bytes_ -= rows.size();
      batch.set.reset();
      ++next;
      lock.unlock();
      if (json && next == batches_.size()) {
        // The last object of the array takes no comma.
        const std::size_t comma = rows.rfind(',');
        if (comma != std::string::npos) rows.erase(comma, 1);
      }
      out.writeText(rows);
      lock.lock();
    } else if (Batch* free = nextToScore()) {
      scoreBatch(*free, 0, lock);
    } else {
      changed_.wait(lock, [&] { return batch.done; });
    }
  }
}

}  // namespace vegfit
