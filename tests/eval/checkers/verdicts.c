/* A testlib-style checker, started as checker <input> <output> <answer>: its verdict, picked by
 * the output's first word, is on the first line of standard error and in its exit status; an
 * input or answer not where they should be is a FAIL. */
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

static int firstWord(const char *path, char *word)
{
    FILE *f = fopen(path, "r");
    int ok = f && fscanf(f, "%63s", word) == 1;
    if (f)
        fclose(f);
    return ok;
}

static int say(const char *line, int status)
{
    fprintf(stderr, "%s\n", line);
    return status;
}

int main(int argc, char **argv)
{
    char in[64], out[64] = "", ans[64];
    if (argc < 4 || !firstWord(argv[1], in) || strcmp(in, "input") != 0 ||
        !firstWord(argv[3], ans) || strcmp(ans, "answer") != 0)
        return say("FAIL input or answer not found", 3);
    firstWord(argv[2], out);
    if (!strcmp(out, "ok"))
        return say("ok 1 token", 0);
    if (!strcmp(out, "wa"))
        return say("wrong answer expected 'ok', found 'wa'", 1);
    if (!strcmp(out, "points"))
        return say("points 0.75 three quarters", 7);
    if (!strcmp(out, "partial"))
        return say("partially correct (45) {almost}", 16);
    if (!strcmp(out, "fail"))
        return say("FAIL the answer is broken", 3);
    if (!strcmp(out, "crash")) {
        say("ok", 0);
        raise(SIGSEGV);
    }
    if (!strcmp(out, "hang"))
        for (;;)
            pause();
    return say("unexpected end of file", 8);
}
