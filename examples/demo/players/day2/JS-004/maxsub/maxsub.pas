var n, i: longint; x, cur, best: int64; f, g: text;
begin
  assign(f, 'maxsub.in'); reset(f);
  assign(g, 'maxsub.out'); rewrite(g);
  read(f, n);
  for i := 1 to n do
  begin
    read(f, x);
    if (i = 1) or (cur < 0) then cur := x else cur := cur + x;
    if (i = 1) or (cur > best) then best := cur;
  end;
  writeln(g, best);
  close(f); close(g);
end.
