// Where the sequence readers put the frames they read.
//
// A header announces how many frames of what size follow, and a damaged or
// hostile file can announce far more than it holds. A sequence that already
// has the announced sizes is written over in place, as a reread of the same
// video would want, and needs no memory; otherwise each new frame is made
// only once its bytes have been read, and the sequence takes the frames when
// the last has come. So nothing is allocated for frames the file does not
// hold, whether it is a regular file or a pipe.
#pragma once
#include <cstddef>
#include <vector>

#include "image/img.h"
#include "video/i3d.h"

namespace imagorix::detail {

template <class P>
class QUADROS {
 public:
  QUADROS(I3D<P>& s, int nf, int nl, int nc)
      : s_(s), nf_(nf), nl_(nl), nc_(nc), direto_(s.nf() == nf && s.nl() == nl && s.nc() == nc) {
    // The sizes are refused here, before any frame is read, if the sequence
    // could never hold them.
    if (!direto_ && nf > 0) {
      const long long n = static_cast<long long>(nl) * nc;
      if (n > INT_MAX || n < INT_MIN) I3D<P>::falta();
    }
  }

  // Frame i (0, 1, ... in order), of nl x nc, for the reader to fill: the
  // sequence's own or a new one.
  IMG<P>& quadro(int i) {
    if (direto_) return s_.quadros_[i];
    novos_.emplace_back(nl_, nc_);
    return novos_.back();
  }

  // Frame i (in order) given whole, of nl x nc.
  void poe(int i, IMG<P>&& q) {
    if (direto_)
      s_.quadros_[i] = std::move(q);
    else
      novos_.push_back(std::move(q));
  }

  // All nf frames have been filled: the sequence takes the new ones.
  void entrega() {
    if (direto_) return;
    s_.quadros_.reset();
    s_.nf_ = nf_;
    s_.nl_ = nl_;
    s_.nc_ = nc_;
    s_.fd_ = 250000;
    if (nf_ <= 0) return;
    s_.quadros_.reset(new (std::nothrow) IMG<P>[static_cast<std::size_t>(nf_)]);
    if (!s_.quadros_) {
      s_.nf_ = 0;
      I3D<P>::falta();
    }
    for (int i = 0; i < nf_; ++i) s_.quadros_[i] = std::move(novos_[static_cast<std::size_t>(i)]);
    novos_.clear();
  }

 private:
  I3D<P>& s_;
  int nf_, nl_, nc_;
  bool direto_;
  std::vector<IMG<P>> novos_;
};

}  // namespace imagorix::detail
