object Main: TForm
end
