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
  if (out_ != nullptr) writeDone(lock);
  changed_.notify_all();
}

void ScoringPool::writeWhenDone(veg::TextFile& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  out_ = &out;
}

void ScoringPool::writeDone(std::unique_lock<std::mutex>& lock) {
  if (writing_ || out_ == nullptr) return;
  writing_ = true;
  const bool json = options_.format == Format::kJson;
  while (out_ != nullptr && next_to_write_ < batches_.size() && batches_[next_to_write_].done) {
    std::string rows;
    rows.swap(batches_[next_to_write_].rows);
    held_bytes_ -= rows.size();
    ++next_to_write_;
    veg::TextFile& out = *out_;
    lock.unlock();
    try {
      if (json && !rows.empty()) {
        // Each object ends with a comma and a line end; the last of all
        // loses its comma, so the last one written waits for the next.
        const std::size_t last = rows.rfind('\n', rows.size() - 2);
        const std::size_t cut = last == std::string::npos ? 0 : last + 1;
        if (!pending_.empty()) out.writeText(pending_);
        pending_ = std::string_view(rows).substr(cut);
        rows.resize(cut);
      }
      if (!rows.empty()) out.writeText(rows);
      lock.lock();
    } catch (const veg::FileError& e) {
      lock.lock();
      write_error_ = e;
      out_ = nullptr;
    }
  }
  writing_ = false;
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
  // Batches being scored or written finish first; then nothing is left to
  // take, and nothing more is written.
  out_ = nullptr;
  changed_.wait(lock, [&] {
    return !writing_ && std::all_of(batches_.begin(), batches_.end(),
                                    [](const Batch& b) { return !b.taken || b.done; });
  });
  batches_.clear();
  next_to_take_ = 0;
  next_to_write_ = 0;
  held_bytes_ = 0;
  pending_.clear();
  write_error_.reset();
}

void ScoringPool::finish(veg::TextFile& out) {
  std::unique_lock<std::mutex> lock(mutex_);
  reading_ = false;
  if (!write_error_) out_ = &out;
  changed_.notify_all();
  while (!write_error_ && next_to_write_ < batches_.size()) {
    if (batches_[next_to_write_].done && !writing_) {
      writeDone(lock);
    } else if (Batch* free = nextToScore()) {
      scoreBatch(*free, 0, lock);
    } else {
      changed_.wait(lock, [&] {
        return write_error_ || next_to_write_ >= batches_.size() ||
               (!writing_ && batches_[next_to_write_].done);
      });
    }
  }
  // Another thread may still be writing the last batches.
  changed_.wait(lock, [&] { return !writing_; });
  out_ = nullptr;
  if (write_error_) throw *write_error_;
  if (!pending_.empty()) {
    // The last object of the array takes no comma.
    std::string last;
    last.swap(pending_);
    const std::size_t comma = last.rfind(',');
    if (comma != std::string::npos) last.erase(comma, 1);
    lock.unlock();
    out.writeText(last);
  }
}

}  // namespace vegfit
