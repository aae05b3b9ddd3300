// Placeholder entry point; replaced by the real one with the main loop.
int main() { return 0; }
