numbers = open("maxsub.in").read().split()
n = int(numbers[0])
best = cur = int(numbers[1])
for x in map(int, numbers[2:n + 1]):
    cur = x if cur < 0 else cur + x
    best = max(best, cur)
with open("maxsub.out", "w") as out:
    out.write(f"{best}\n")
