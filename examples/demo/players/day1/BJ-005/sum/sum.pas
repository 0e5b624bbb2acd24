var a, b: int64; f, g: text;
begin
  assign(f, 'sum.in'); reset(f);
  assign(g, 'sum.out'); rewrite(g);
  read(f, a, b);
  writeln(g, a + b);
  close(f); close(g);
end.
