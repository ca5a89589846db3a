#pragma once

#include <QValidator>

namespace vemro {

// Keeps the sample text line within what a project file stores: no zero character, and at most
// kMaxSampleTextBytes bytes as UTF-8. Input past that is refused as the user types or pastes it.
class SampleTextValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};

}  // namespace vemro
