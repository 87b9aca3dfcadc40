// Placeholder until the folder has sources.
int main() { return 0; }
