#pragma once
// Inside the session only: the step of a field that a change handler stores.

#include "session/Session.h"

namespace morvik {

// Constructed where a field's change handler starts, it records, once the handler is
// done, what the handler changed in the project information and in the current member's
// number, date and remark, as typing (one visit to a field is one step).
class FieldEditStep {
public:
    explicit FieldEditStep(Session& session)
        : session_(session), project_(session.project_), member_(session.currentMember_),
          record_(session.currentRecord_) {}
    ~FieldEditStep();
    FieldEditStep(const FieldEditStep&) = delete;
    FieldEditStep& operator=(const FieldEditStep&) = delete;

private:
    Session& session_;
    const ProjectInfo project_;
    const int member_;
    const ShaJiang_GouJian_Struct record_;
};

} // namespace morvik
