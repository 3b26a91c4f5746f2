// Placeholder until the writer lands.
#include "resources/Output.h"
namespace tessel {
OutputWriter::~OutputWriter() {}
}
