// Platform seams: effects a test must observe or must never let happen go
// through one small interface per domain. Programs always use the real
// implementation; a test puts a recording fake in its place with ScopedSeam.
#pragma once

namespace seams {

template <class I>
class Seam {
 public:
  static I& Get() { return current_ ? *current_ : Real(); }
  static I& Real();  // defined once per domain, beside its interface
  static void Set(I* impl) { current_ = impl; }

 private:
  static inline I* current_ = nullptr;
};

template <class I>
class ScopedSeam {
 public:
  explicit ScopedSeam(I& impl) { Seam<I>::Set(&impl); }
  ~ScopedSeam() { Seam<I>::Set(nullptr); }
  ScopedSeam(const ScopedSeam&) = delete;
  ScopedSeam& operator=(const ScopedSeam&) = delete;
};

}  // namespace seams
