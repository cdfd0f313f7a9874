// PLACEHOLDER until the link engine lands.
#include "link/link_engine.h"
namespace vq {
void subFirstSend() {}
void subCommSend() {}
void subCommReceive(CommEvent) {}
void subCommStop() {}
}  // namespace vq
