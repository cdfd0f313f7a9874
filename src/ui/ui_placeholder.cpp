// PLACEHOLDER until the Qt windows land.
namespace vq {
int uiPlaceholder() { return 0; }
}  // namespace vq
