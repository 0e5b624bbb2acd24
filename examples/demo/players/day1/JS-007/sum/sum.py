a, b = map(int, open("sum.in").read().split())
with open("sum.out", "w") as out:
    out.write(f"{a + b}\n")
