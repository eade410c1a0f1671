namespace ostrana::detail {
void RegisterMenuClass() {}
}
