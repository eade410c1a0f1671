namespace ostrana::detail {
void RegisterTreeViewClass() {}
}
