// Command-line program over the library (placeholder).
int main() { return 0; }
