// Linked with every object of the floors below the main window and nothing above them;
// it builds only while none of them uses the top floor. It is never run.
int main() {
    return 0;
}
