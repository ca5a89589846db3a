#include "ui/sample_text_validator.h"

#include "files/project/export_sections.h"

namespace vemro {

QValidator::State SampleTextValidator::validate(QString& input, int& /*position*/) const {
    if (input.contains(QChar(u'\0')) ||
        static_cast<std::size_t>(input.toUtf8().size()) > kMaxSampleTextBytes) {
        return Invalid;
    }
    return Acceptable;
}

}  // namespace vemro
