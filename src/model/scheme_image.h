#pragma once

namespace qv {

// The off-screen picture of the scheme. The model owns it without knowing how it is drawn: the
// renderer derives from this.
class SchemeImage {
  public:
    virtual ~SchemeImage() = default;
};

}  // namespace qv
